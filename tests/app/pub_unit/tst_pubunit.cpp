// SPDX-License-Identifier: GPL-3.0-or-later
#include "EIniFileException.h"
#include "pub_unit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class tst_PubUnit : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void holderIsAHiddenWindow();
    void applicationDirectory_data();
    void applicationDirectory();
    void applicationDirectoryForTesting();
    void missingFileGivesEveryDefault();
    void dialogSaveThenMainWindowRead();
    void nothingIsCached();
    void failedWriteRaisesWithThePath();
    void installedFirstSaveMakesTheUsersFile_data();
    void installedFirstSaveMakesTheUsersFile();
    void systemDefaultsFillKeysTheUserHasNotSet();
    void portableIgnoresSystemDefaults();
    void installedSettingsFolderBlocked();

private:
    // An installed program in root/usr/bin with its home, config home and /etc/xdg under root.
    static SettingsLocation::Roots installedRoots(const QString &root, bool configHomeSet);
};

SettingsLocation::Roots tst_PubUnit::installedRoots(const QString &root, bool configHomeSet)
{
    SettingsLocation::Roots roots;
    roots.executableDirectory = root + u"/usr/bin/"_s;
    roots.installedDirectory = root + u"/usr/bin/"_s;
    roots.installedToData = u"../share/tarvik-timer/"_s;
    roots.configHome = configHomeSet ? root + u"/xdg-config"_s : QString();
    roots.home = root + u"/home"_s;
    roots.systemConfigDirectory = root + u"/etc/xdg"_s;
    QDir(root).mkpath(u"usr/bin"_s);
    QDir(root).mkpath(u"home"_s);
    return roots;
}

void tst_PubUnit::cleanup()
{
    pub_unit::setApplicationDirectoryForTesting(QString());
    pub_unit::setSettingsRootsForTesting(nullptr);
}

void tst_PubUnit::holderIsAHiddenWindow()
{
    const frm_pubunit holder;
    QCOMPARE(holder.windowTitle(), u"共享单元模块"_s);
    QVERIFY(!holder.isVisible());
}

void tst_PubUnit::applicationDirectory_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected"); // "<exe>" for the executable's directory
    QTest::newRow("empty") << ""
                           << "<exe>";
    QTest::newRow("blanks and control characters") << " \t\r\n "
                                                   << "<exe>";
    QTest::newRow("file") << "/opt/tarvik/config.dat"
                          << "/opt/tarvik/";
    QTest::newRow("trimmed") << "  /opt/tarvik/config.dat\r\n"
                             << "/opt/tarvik/";
    QTest::newRow("folder") << "/opt/tarvik/"
                            << "/opt/tarvik/";
    QTest::newRow("root") << "/"
                          << "/";
    QTest::newRow("bare name") << "config.dat"
                               << "";
    QTest::newRow("Chinese folder") << u"/home/用户/计时器/a.mp3"_s << u"/home/用户/计时器/"_s;
}

void tst_PubUnit::applicationDirectory()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    if (expected == "<exe>"_L1)
        expected = QCoreApplication::applicationDirPath() + u'/';
    QCOMPARE(pub_unit::applicationDirectory(path), expected);
}

void tst_PubUnit::applicationDirectoryForTesting()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    pub_unit::setApplicationDirectoryForTesting(dir.path());
    QCOMPARE(pub_unit::applicationDirectory(), dir.path() + u'/');
    // A given path still gives its own directory.
    QCOMPARE(pub_unit::applicationDirectory(u"/tmp/x"_s), u"/tmp/"_s);
    pub_unit::setApplicationDirectoryForTesting(QString());
    QCOMPARE(pub_unit::applicationDirectory(), QCoreApplication::applicationDirPath() + u'/');
}

void tst_PubUnit::missingFileGivesEveryDefault()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    pub_unit::setApplicationDirectoryForTesting(dir.path());
    const QString config = pub_unit::applicationDirectory() + u"config.dat"_s;
    const QString mp3 = pub_unit::applicationDirectory() + u"荷塘月色.mp3"_s;
    const QList<std::pair<QString, QString>> defaults = {{u"shi"_s, u"01"_s},
                                                         {u"feng"_s, u"30"_s},
                                                         {u"miao"_s, u"00"_s},
                                                         {u"qiancolor"_s, u"clred"_s},
                                                         {u"beicolor"_s, u"clBlack"_s},
                                                         {u"fontsize"_s, u"72"_s},
                                                         {u"mp3"_s, mp3},
                                                         {u"showtop"_s, u"true"_s},
                                                         {u"ico"_s, QString()},
                                                         {u"showico"_s, u"false"_s},
                                                         {u"playtime"_s, u"0"_s}};
    for (const auto &[key, value] : defaults)
        QCOMPARE(pub_unit::readKey(config, u"SET"_s, key, value), value);
    QVERIFY(!QFile::exists(config));
}

void tst_PubUnit::dialogSaveThenMainWindowRead()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString config = dir.filePath(u"config.dat"_s);
    // The settings dialog's order of writes.
    const QList<std::pair<QString, QString>> saved = {
        {u"shi"_s, u"00"_s},
        {u"feng"_s, u"05"_s},
        {u"miao"_s, u"30"_s},
        {u"qiancolor"_s, u"clYellow"_s},
        {u"beicolor"_s, u"$00C0FFEE"_s},
        {u"fontsize"_s, u"96"_s},
        {u"mp3"_s, u"\"/home/用户/My Music/荷塘月色.mp3\""_s},
        {u"ico"_s, QString()},
        {u"showico"_s, u"0"_s},
        {u"showtop"_s, u"-1"_s},
        {u"playtime"_s, u"10"_s}};
    for (const auto &[key, value] : saved)
        pub_unit::writeKey(config, u"SET"_s, key, value);
    QCOMPARE(pub_unit::readKey(config, u"SET"_s, u"mp3"_s, QString()),
             u"/home/用户/My Music/荷塘月色.mp3"_s);
    QCOMPARE(pub_unit::readKey(config, u"SET"_s, u"ico"_s, u"<default>"_s), QString(u""_s));
    QCOMPARE(pub_unit::readKey(config, u"SET"_s, u"showtop"_s, u"true"_s), u"-1"_s);
    QCOMPARE(pub_unit::readKey(config, u"SET"_s, u"playtime"_s, u"0"_s), u"10"_s);

    // The main window's save writes only the duration; the rest stays as it was.
    pub_unit::writeKey(config, u"SET"_s, u"shi"_s, u"02"_s);
    pub_unit::writeKey(config, u"SET"_s, u"feng"_s, u"00"_s);
    pub_unit::writeKey(config, u"SET"_s, u"miao"_s, u"00"_s);
    QFile file(config);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), 13); // header, eleven keys, nothing after the last line end
    QCOMPARE(lines[1], QByteArray("shi=02\r"));
    QCOMPARE(lines[4], QByteArray("qiancolor=clYellow\r"));
}

void tst_PubUnit::nothingIsCached()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString config = dir.filePath(u"config.dat"_s);
    pub_unit::writeKey(config, u"SET"_s, u"fontsize"_s, u"72"_s);
    QCOMPARE(pub_unit::readKey(config, u"SET"_s, u"fontsize"_s, u"8"_s), u"72"_s);
    // Another program changes the file between two reads.
    QFile file(config);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[set]\r\nFONTSIZE=48\r\n");
    file.close();
    QCOMPARE(pub_unit::readKey(config, u"SET"_s, u"fontsize"_s, u"8"_s), u"48"_s);
    QVERIFY(QFile::remove(config));
    QCOMPARE(pub_unit::readKey(config, u"SET"_s, u"fontsize"_s, u"8"_s), u"8"_s);
}

void tst_PubUnit::failedWriteRaisesWithThePath()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString notAFolder = dir.filePath(u"file"_s);
    QFile plain(notAFolder);
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString config = notAFolder + u"/config.dat"_s;
    try {
        pub_unit::writeKey(config, u"SET"_s, u"shi"_s, u"01"_s);
        QFAIL("no error raised");
    } catch (const EIniFileException &error) {
        QCOMPARE(error.message(), u"Unable to write to "_s + config);
    }
}

void tst_PubUnit::installedFirstSaveMakesTheUsersFile_data()
{
    QTest::addColumn<bool>("configHomeSet");
    QTest::addColumn<QString>("expected"); // under the temporary root
    QTest::newRow("XDG_CONFIG_HOME set") << true << u"/xdg-config/tarvik-timer/config.dat"_s;
    QTest::newRow("XDG_CONFIG_HOME unset") << false << u"/home/.config/tarvik-timer/config.dat"_s;
}

void tst_PubUnit::installedFirstSaveMakesTheUsersFile()
{
    QFETCH(bool, configHomeSet);
    QFETCH(QString, expected);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const SettingsLocation::Roots roots = installedRoots(root.path(), configHomeSet);
    pub_unit::setSettingsRootsForTesting(&roots);

    const QString config = pub_unit::settingsFilePath();
    QCOMPARE(config, root.path() + expected);
    QCOMPARE(pub_unit::defaultSoundFile(), root.path() + u"/usr/share/tarvik-timer/chime.mp3"_s);
    // Reading creates nothing; the first save makes the folders, private to the user.
    QCOMPARE(pub_unit::readKey(config, u"SET"_s, u"shi"_s, u"01"_s), u"01"_s);
    QVERIFY(!QFileInfo::exists(QFileInfo(config).path()));
    pub_unit::writeKey(config, u"SET"_s, u"shi"_s, u"00"_s);
    pub_unit::writeKey(config, u"SET"_s, u"feng"_s, u"07"_s);
    QCOMPARE(pub_unit::readKey(config, u"SET"_s, u"feng"_s, u"30"_s), u"07"_s);
    const QFileInfo folder = QFileInfo(QFileInfo(config).path());
    QCOMPARE(folder.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup |
                                     QFile::WriteOther | QFile::ExeGroup | QFile::ExeOther),
             QFile::Permissions());
    // Nothing beside the executable.
    QVERIFY(QDir(roots.executableDirectory).isEmpty());
}

void tst_PubUnit::systemDefaultsFillKeysTheUserHasNotSet()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const SettingsLocation::Roots roots = installedRoots(root.path(), true);
    pub_unit::setSettingsRootsForTesting(&roots);
    QVERIFY(QDir(root.path()).mkpath(u"etc/xdg/tarvik-timer"_s));
    const QString system = root.filePath(u"etc/xdg/tarvik-timer/config.dat"_s);
    QFile file(system);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[SET]\r\nfontsize=96\r\nshi=02\r\nmp3=/srv/gong.mp3\r\n");
    file.close();

    const QString config = pub_unit::settingsFilePath();
    const auto read = [&config](const QString &key, const QString &defaultValue) {
        return pub_unit::readKey(config, u"SET"_s, key, defaultValue);
    };
    QCOMPARE(read(u"fontsize"_s, u"72"_s), u"96"_s);
    QCOMPARE(read(u"mp3"_s, pub_unit::defaultSoundFile()), u"/srv/gong.mp3"_s);
    QCOMPARE(read(u"feng"_s, u"30"_s), u"30"_s); // in neither file

    // The user's own value wins, including an empty one; the system file is never written.
    pub_unit::writeKey(config, u"SET"_s, u"shi"_s, u"05"_s);
    pub_unit::writeKey(config, u"SET"_s, u"mp3"_s, QString());
    QCOMPARE(read(u"shi"_s, u"01"_s), u"05"_s);
    QCOMPARE(read(u"mp3"_s, pub_unit::defaultSoundFile()), QString());
    QCOMPARE(read(u"fontsize"_s, u"72"_s), u"96"_s);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[SET]\r\nfontsize=96\r\nshi=02\r\nmp3=/srv/gong.mp3\r\n"));
    file.close();

    // Another file read through the same helper has no system defaults.
    QCOMPARE(pub_unit::readKey(root.filePath(u"other.dat"_s), u"SET"_s, u"fontsize"_s, u"72"_s),
             u"72"_s);
}

void tst_PubUnit::portableIgnoresSystemDefaults()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    SettingsLocation::Roots roots = installedRoots(root.path(), true);
    roots.executableDirectory = root.filePath(u"unpacked"_s);
    QVERIFY(QDir(root.path()).mkpath(u"etc/xdg/tarvik-timer"_s));
    QFile file(root.filePath(u"etc/xdg/tarvik-timer/config.dat"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[SET]\r\nfontsize=96\r\n");
    file.close();
    pub_unit::setSettingsRootsForTesting(&roots);

    const QString config = pub_unit::settingsFilePath();
    QCOMPARE(config, root.filePath(u"unpacked/config.dat"_s));
    QCOMPARE(pub_unit::defaultSoundFile(), root.filePath(u"unpacked/荷塘月色.mp3"_s));
    QCOMPARE(pub_unit::readKey(config, u"SET"_s, u"fontsize"_s, u"72"_s), u"72"_s);
}

void tst_PubUnit::installedSettingsFolderBlocked()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const SettingsLocation::Roots roots = installedRoots(root.path(), true);
    pub_unit::setSettingsRootsForTesting(&roots);
    // A plain file where the config home should be.
    QFile blocker(roots.configHome);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    const QString config = pub_unit::settingsFilePath();
    try {
        pub_unit::writeKey(config, u"SET"_s, u"shi"_s, u"01"_s);
        QFAIL("no error raised");
    } catch (const EIniFileException &error) {
        QCOMPARE(error.message(), u"Unable to write to "_s + config);
    }
    QVERIFY(QDir(roots.executableDirectory).isEmpty());
}

QTEST_MAIN(tst_PubUnit)
#include "tst_pubunit.moc"
