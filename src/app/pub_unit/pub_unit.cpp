// SPDX-License-Identifier: GPL-3.0-or-later
#include "pub_unit.h"

#include "IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <optional>

namespace {

// Set only by tests; the real directory is looked up on every call.
QString &testingDirectory()
{
    static QString directory;
    return directory;
}

std::optional<SettingsLocation::Roots> &testingRoots()
{
    static std::optional<SettingsLocation::Roots> roots;
    return roots;
}

QString withSeparator(QString directory)
{
    if (!directory.endsWith(u'/'))
        directory.append(u'/');
    return directory;
}

QString executableDirectory()
{
    if (!testingDirectory().isEmpty())
        return testingDirectory();
    if (QCoreApplication::instance())
        return withSeparator(QCoreApplication::applicationDirPath());
    return withSeparator(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath());
}

// Blanks and control characters at either end are not part of a path given by a caller.
QString trimmedPath(const QString &path)
{
    qsizetype begin = 0;
    qsizetype end = path.size();
    while (begin < end && path[begin].unicode() <= u' ')
        ++begin;
    while (end > begin && path[end - 1].unicode() <= u' ')
        --end;
    return path.sliced(begin, end - begin);
}

SettingsLocation currentLocation()
{
    if (testingRoots())
        return SettingsLocation::resolve(*testingRoots());
    SettingsLocation::Roots roots = SettingsLocation::currentRoots();
    roots.executableDirectory = executableDirectory();
    return SettingsLocation::resolve(roots);
}

// Folders the program makes for its own settings are private to the user.
void makePrivateFolders(const QString &directory)
{
    const QStringList parts = QDir::cleanPath(directory).split(u'/', Qt::SkipEmptyParts);
    QString path;
    for (const QString &part : parts) {
        path += u'/' + part;
        if (!QFileInfo(path).exists())
            QDir().mkdir(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

} // namespace

frm_pubunit::frm_pubunit(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frm_pubunit"));
    setWindowTitle(tr("共享单元模块"));
}

namespace pub_unit {

QString applicationDirectory(const QString &path)
{
    const QString trimmed = trimmedPath(path);
    if (trimmed.isEmpty())
        return executableDirectory();
    // Everything up to and including the last separator; a bare name has no directory part.
    return trimmed.first(trimmed.lastIndexOf(u'/') + 1);
}

QString settingsFilePath()
{
    return currentLocation().settingsFile;
}

QString defaultSoundFile()
{
    return currentLocation().defaultSoundFile;
}

QString readKey(const QString &filePath, const QString &section, const QString &key,
                const QString &defaultValue)
{
    const SettingsLocation location = currentLocation();
    QString fallback = defaultValue;
    if (!location.systemDefaultsFile.isEmpty() && filePath == location.settingsFile)
        fallback = IniFile(location.systemDefaultsFile).readString(section, key, defaultValue);
    return IniFile(filePath).readString(section, key, fallback);
}

void writeKey(const QString &filePath, const QString &section, const QString &key,
              const QString &value)
{
    const SettingsLocation location = currentLocation();
    // A failure here shows as the write's own error below.
    if (location.installed && filePath == location.settingsFile)
        makePrivateFolders(QFileInfo(filePath).path());
    IniFile(filePath).writeString(section, key, value);
}

void setApplicationDirectoryForTesting(const QString &directory)
{
    testingDirectory() = directory.isEmpty() ? QString() : withSeparator(directory);
}

void setSettingsRootsForTesting(const SettingsLocation::Roots *roots)
{
    testingRoots() = roots ? std::optional(*roots) : std::nullopt;
}

} // namespace pub_unit
