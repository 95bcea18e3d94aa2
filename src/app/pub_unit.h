#pragma once

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

// One open-read-close of the settings file; never fails (missing file, section or key
// gives defaultValue).
QString readKey(const QString &filePath, const QString &section, const QString &key,
                const QString &defaultValue);

// One open-write-close; throws EIniFileException("Unable to write to <filePath>").
void writeKey(const QString &filePath, const QString &section, const QString &key,
              const QString &value);

// Tests point the application directory at a temporary folder; empty restores the real one.
void setApplicationDirectoryForTesting(const QString &directory);

} // namespace pub_unit
