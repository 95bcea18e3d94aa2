// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

// The one place that knows how the platform writes the settings file without losing it.
//
// A symbolic link is followed to the file it names, which is created when missing. A file
// the user may not write, or that has no write permission for anyone (the counterpart of a
// read-only attribute), is refused, also for root. Usually the new text goes to a temporary
// file beside the old one, is flushed to the disk and renamed over it, so the file always
// holds either the old or the whole new text, with its permissions and owner kept. Where
// that would change the file's owner or group, or the folder takes no new entries, or the
// file has further hard links, the file itself is rewritten and flushed instead, so that at
// every moment it reads as the old or the new text (a shorter text is padded with blank
// lines until the file is cut).
//
// Temporary files of an earlier write that was killed (".<name>.<random>.tmp" beside the
// file) are removed by the next write once no writer holds them.
namespace SafeFileWrite {

enum class Result
{
    Refused, // nothing changed
    Replaced,
    WrittenInPlace
};

Result write(const QString &path, QByteArrayView data);

} // namespace SafeFileWrite
