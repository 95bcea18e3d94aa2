// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where the settings file and the default alarm sound are, for a program started from a
// given folder.
//
// A program run from anywhere but its installed folder (an unpacked folder, the build
// tree) is portable: config.dat and the default sound sit beside the executable. The
// installed program never writes into its own folder; it keeps the user's settings in
// $XDG_CONFIG_HOME/tarvik-timer/config.dat (~/.config when unset) and reads keys the user
// has not set from the system-wide file under /etc/xdg.
//
//   const SettingsLocation where = SettingsLocation::resolve(SettingsLocation::currentRoots());
class SettingsLocation
{
public:
    // Everything the rule looks at, so that tests can place each root where they like.
    // Folders end in '/'.
    struct Roots
    {
        QString executableDirectory;
        // The folder the build installs the program to, and the data folder relative to it.
        QString installedDirectory;
        QString installedToData;
        QString configHome; // $XDG_CONFIG_HOME as set; empty when unset
        QString home;
        QString systemConfigDirectory;
    };

    static inline const QString settingsFileName = QStringLiteral("config.dat");
    static inline const QString portableSoundName = QStringLiteral("荷塘月色.mp3");
    static inline const QString installedSoundName = QStringLiteral("chime.mp3");
    static inline const QString folderName = QStringLiteral("tarvik-timer");

    // The roots of the running program: its folder, the configured install folders and
    // the environment.
    static Roots currentRoots();
    static SettingsLocation resolve(const Roots &roots);

    bool installed = false;
    // Read and written by both windows.
    QString settingsFile;
    // Read for the keys settingsFile lacks; empty for the portable program.
    QString systemDefaultsFile;
    // The default of the `mp3` key.
    QString defaultSoundFile;
};
