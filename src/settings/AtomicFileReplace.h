#pragma once

#include <QByteArrayView>
#include <QString>

// The one place that knows how the platform replaces a file safely.
namespace AtomicFileReplace {

// Writes data to a new file in the same folder, flushes it to the disk and renames it over
// path, so that path always holds either the old or the whole new text. A symbolic link is
// followed and its target replaced; the old file's permissions and owner are kept. On
// failure the old file is left as it was and false is returned.
bool replace(const QString &path, QByteArrayView data);

} // namespace AtomicFileReplace
