// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsLocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class tst_SettingsLocation : public QObject
{
    Q_OBJECT

private slots:
    void resolve_data();
    void resolve();
    void installedThroughALink();
    void movedInstallFindsItsData();
};

namespace {

SettingsLocation::Roots roots(const QString &executable, const QString &configHome = QString())
{
    SettingsLocation::Roots r;
    r.executableDirectory = executable;
    r.installedDirectory = u"/opt/tt/bin/"_s;
    r.installedToData = u"../share/tarvik-timer/"_s;
    r.configHome = configHome;
    r.home = u"/home/用户"_s;
    r.systemConfigDirectory = u"/etc/xdg/"_s;
    return r;
}

} // namespace

void tst_SettingsLocation::resolve_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("configHome");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("systemDefaults");
    QTest::addColumn<QString>("sound");

    QTest::newRow("portable build tree") << u"/tmp/src/build/src/app/"_s << QString() << false
                                         << u"/tmp/src/build/src/app/config.dat"_s << QString()
                                         << u"/tmp/src/build/src/app/荷塘月色.mp3"_s;
    // XDG_CONFIG_HOME is about the installed program only.
    QTest::newRow("portable ignores XDG_CONFIG_HOME")
        << u"/home/用户/计时器/"_s << u"/home/用户/cfg"_s << false
        << u"/home/用户/计时器/config.dat"_s << QString() << u"/home/用户/计时器/荷塘月色.mp3"_s;
    QTest::newRow("installed, XDG_CONFIG_HOME unset")
        << u"/opt/tt/bin/"_s << QString() << true << u"/home/用户/.config/tarvik-timer/config.dat"_s
        << u"/etc/xdg/tarvik-timer/config.dat"_s << u"/opt/tt/share/tarvik-timer/chime.mp3"_s;
    QTest::newRow("installed, XDG_CONFIG_HOME set")
        << u"/opt/tt/bin/"_s << u"/srv/cfg//"_s << true << u"/srv/cfg/tarvik-timer/config.dat"_s
        << u"/etc/xdg/tarvik-timer/config.dat"_s << u"/opt/tt/share/tarvik-timer/chime.mp3"_s;
    QTest::newRow("installed, relative XDG_CONFIG_HOME is ignored")
        << u"/opt/tt/bin/"_s << u"cfg"_s << true << u"/home/用户/.config/tarvik-timer/config.dat"_s
        << u"/etc/xdg/tarvik-timer/config.dat"_s << u"/opt/tt/share/tarvik-timer/chime.mp3"_s;
    QTest::newRow("installed folder spelt differently")
        << u"/opt/tt/lib/../bin"_s << QString() << true
        << u"/home/用户/.config/tarvik-timer/config.dat"_s << u"/etc/xdg/tarvik-timer/config.dat"_s
        << u"/opt/tt/share/tarvik-timer/chime.mp3"_s;
    QTest::newRow("a folder named like the installed one elsewhere")
        << u"/home/用户/opt/tt/bin/"_s << QString() << false
        << u"/home/用户/opt/tt/bin/config.dat"_s << QString()
        << u"/home/用户/opt/tt/bin/荷塘月色.mp3"_s;
}

void tst_SettingsLocation::resolve()
{
    QFETCH(QString, executable);
    QFETCH(QString, configHome);
    QFETCH(bool, installed);
    QFETCH(QString, settings);
    QFETCH(QString, systemDefaults);
    QFETCH(QString, sound);
    const SettingsLocation location = SettingsLocation::resolve(roots(executable, configHome));
    QCOMPARE(location.installed, installed);
    QCOMPARE(location.settingsFile, settings);
    QCOMPARE(location.systemDefaultsFile, systemDefaults);
    QCOMPARE(location.defaultSoundFile, sound);
}

void tst_SettingsLocation::installedThroughALink()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(u"usr/bin"_s));
    QVERIFY(QFile::link(dir.filePath(u"usr/bin"_s), dir.filePath(u"bin"_s)));
    SettingsLocation::Roots r = roots(dir.filePath(u"bin/"_s));
    r.installedDirectory = dir.filePath(u"usr/bin"_s);
    QVERIFY(SettingsLocation::resolve(r).installed);
}

void tst_SettingsLocation::movedInstallFindsItsData()
{
    // cmake --install --prefix elsewhere: the same tree under another prefix.
    QTemporaryDir prefix;
    QVERIFY(prefix.isValid());
    QVERIFY(QDir(prefix.path()).mkpath(u"bin"_s));
    const QString executable = prefix.filePath(u"bin/"_s);
    QVERIFY(!SettingsLocation::resolve(roots(executable)).installed);

    QVERIFY(QDir(prefix.path()).mkpath(u"share/tarvik-timer"_s));
    const SettingsLocation location = SettingsLocation::resolve(roots(executable));
    QVERIFY(location.installed);
    QCOMPARE(location.settingsFile, u"/home/用户/.config/tarvik-timer/config.dat"_s);
    QCOMPARE(location.defaultSoundFile, prefix.filePath(u"share/tarvik-timer/chime.mp3"_s));
}

QTEST_GUILESS_MAIN(tst_SettingsLocation)
#include "tst_settingslocation.moc"
