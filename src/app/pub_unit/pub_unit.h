// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SettingsLocation.h"

#include <QString>
#include <QWidget>

// The shared-unit holder: a window that is never shown and only carries the
// settings helpers. The helpers do not depend on it existing.
class frm_pubunit : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frm_pubunit)

public:
    explicit frm_pubunit(QWidget *parent = nullptr);
};

namespace pub_unit {

// The directory part of path (blanks and control characters trimmed), ending in a
// separator; for an empty path, the directory of the running executable.
QString applicationDirectory(const QString &path = QString());

// The settings file both windows read and write: config.dat beside a portable program,
// the user's own file for the installed one (see SettingsLocation).
QString settingsFilePath();

// The default of the `mp3` key: "荷塘月色.mp3" beside a portable program, the chime
// shipped with the installed one.
QString defaultSoundFile();

// One open-read-close of the settings file; never fails (missing file, section or key
// gives defaultValue). For the installed program's settings file, a key the user has not
// set is looked up in the system-wide defaults first.
QString readKey(const QString &filePath, const QString &section, const QString &key,
                const QString &defaultValue);

// One open-write-close; throws EIniFileException("Unable to write to <filePath>"). The
// installed program's settings folder is made on the first write.
void writeKey(const QString &filePath, const QString &section, const QString &key,
              const QString &value);

// Tests point the application directory at a temporary folder; empty restores the real one.
void setApplicationDirectoryForTesting(const QString &directory);

// Tests place the install folder, the environment's folders and the executable's; nullptr
// restores the real ones.
void setSettingsRootsForTesting(const SettingsLocation::Roots *roots);

} // namespace pub_unit
