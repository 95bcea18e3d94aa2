// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

// Set by the build from the install prefix it was configured with.
#ifndef TARVIK_INSTALLED_DIRECTORY
#define TARVIK_INSTALLED_DIRECTORY "/usr/local/bin"
#endif
#ifndef TARVIK_INSTALLED_TO_DATA
#define TARVIK_INSTALLED_TO_DATA "../share/tarvik-timer"
#endif

namespace {

QString folder(const QString &path)
{
    QString cleaned = QDir::cleanPath(path);
    if (!cleaned.endsWith(u'/'))
        cleaned.append(u'/');
    return cleaned;
}

// The same folder reached through different links compares equal.
QString canonicalFolder(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return folder(canonical.isEmpty() ? path : canonical);
}

} // namespace

SettingsLocation::Roots SettingsLocation::currentRoots()
{
    Roots roots;
    roots.executableDirectory = folder(
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                     : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath());
    roots.installedDirectory = folder(QStringLiteral(TARVIK_INSTALLED_DIRECTORY));
    roots.installedToData = folder(QStringLiteral(TARVIK_INSTALLED_TO_DATA));
    roots.configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    roots.home = QDir::homePath();
    roots.systemConfigDirectory = QStringLiteral("/etc/xdg/");
    return roots;
}

SettingsLocation SettingsLocation::resolve(const Roots &roots)
{
    SettingsLocation location;
    if (roots.executableDirectory.isEmpty())
        return location;
    const QString executable = folder(roots.executableDirectory);
    const QString dataDirectory = folder(executable + roots.installedToData);
    // Installed where the build put it, or the same tree moved to another prefix
    // (cmake --install --prefix ~/.local): its data folder sits at the same place beside it.
    location.installed = canonicalFolder(executable) == canonicalFolder(roots.installedDirectory) ||
                         QFileInfo(dataDirectory).isDir();
    if (!location.installed) {
        location.settingsFile = executable + settingsFileName;
        location.defaultSoundFile = executable + portableSoundName;
        return location;
    }

    // A relative XDG_CONFIG_HOME is invalid and ignored, like an unset one.
    const QString configHome = QDir::isAbsolutePath(roots.configHome)
                                   ? folder(roots.configHome)
                                   : folder(roots.home + QStringLiteral("/.config"));
    location.settingsFile = configHome + folderName + u'/' + settingsFileName;
    location.systemDefaultsFile =
        folder(roots.systemConfigDirectory) + folderName + u'/' + settingsFileName;
    location.defaultSoundFile = dataDirectory + installedSoundName;
    return location;
}
