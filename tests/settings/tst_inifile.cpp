// SPDX-License-Identifier: GPL-3.0-or-later
#include "EIniFileException.h"
#include "IniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// Makes a folder refuse new entries, also for root: permission bits first, and where they
// do not stop this user, the immutable attribute.
class ReadOnlyFolder
{
    Q_DISABLE_COPY_MOVE(ReadOnlyFolder)
public:
    explicit ReadOnlyFolder(const QString &folder)
        : m_folder(QFile::encodeName(folder))
    {
        ::chmod(m_folder.constData(), 0555);
        if (refusesNewFiles()) {
            m_how = "permissions";
            return;
        }
        ::chmod(m_folder.constData(), 0755);
        if (setImmutable(true) && refusesNewFiles())
            m_how = "immutable attribute";
    }
    ~ReadOnlyFolder()
    {
        setImmutable(false);
        ::chmod(m_folder.constData(), 0755);
    }
    bool isActive() const { return !m_how.isEmpty(); }
    QByteArray how() const { return m_how; }

private:
    bool refusesNewFiles() const
    {
        const QByteArray probe = m_folder + "/probe";
        const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0)
            return true;
        ::close(fd);
        ::unlink(probe.constData());
        return false;
    }
    bool setImmutable(bool on) const
    {
        const int fd = ::open(m_folder.constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (ok) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return ok;
    }

    QByteArray m_folder;
    QByteArray m_how;
};

// A settings file as another program leaves it: code page 936, CRLF, comments, capitals,
// blank lines, unknown keys and another section.
const QByteArray foreignFile =
    "; \xb5\xb9\xbc\xc6\xca\xb1\xc9\xe8\xd6\xc3\r\n" // ; 倒计时设置
    "[Set]\r\n"
    "SHI=02\r\n"
    "Feng = 15\r\n"
    "MIAO=\t00\r\n"
    "\r\n"
    "QianColor=clLime\r\n"
    "beicolor=$00C0FFEE\r\n"
    "unknown=keep me\r\n"
    "MP3=\"C:\\Program Files\\\xbc\xc6\xca\xb1\xc6\xf7\\\xba\xc9\xcc\xc1\xd4"
    "\xc2\xc9\xab.mp3\"\r\n" // 计时器, 荷塘月色
    "; trailing comment\r\n"
    "\r\n"
    "[OTHER]\r\n"
    "shi=99\r\n";

} // namespace

class tst_IniFile : public QObject
{
    Q_OBJECT

private slots:
    void missingFileSectionOrKeyGivesDefault();
    void readRules_data();
    void readRules();
    void valueLimit_data();
    void valueLimit();
    void writeCreatesFileAndSection();
    void writeRules_data();
    void writeRules();
    void writeRefusesWhatWouldSpoilTheFile_data();
    void writeRefusesWhatWouldSpoilTheFile();
    void foreignFileKeepsEveryOtherByte();
    void writeReadRoundTrip_data();
    void writeReadRoundTrip();
    void writeKeepsPermissionsAndLinks();
    void writeWherePathCannotBeAFile();
    void writeToReadOnlyFolderWritesTheFileItself();
};

void tst_IniFile::missingFileSectionOrKeyGivesDefault()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"config.dat"_s);
    const IniFile missing(path);
    QCOMPARE(missing.readString(u"SET", u"shi", u"01"_s), u"01"_s);
    QCOMPARE(missing.readString(u"SET", u"ico", QString()), QString());
    QVERIFY(!QFile::exists(path)); // reading never creates the file

    writeBytes(path, "[OTHER]\nshi=5\n[SET]\nfeng=30\n");
    QCOMPARE(IniFile(path).readString(u"NOSUCH", u"feng", u"x"_s), u"x"_s);
    QCOMPARE(IniFile(path).readString(u"SET", u"shi", u"01"_s), u"01"_s);
    QCOMPARE(IniFile(path).readString(u"SET", u"feng", u"00"_s), u"30"_s);

    // Something that is not a file reads as missing.
    QVERIFY(QDir(dir.path()).mkdir(u"folder.dat"_s));
    QCOMPARE(IniFile(dir.filePath(u"folder.dat"_s)).readString(u"SET", u"shi", u"01"_s), u"01"_s);
    QCOMPARE(
        IniFile(dir.filePath(u"no/such/folder/config.dat"_s)).readString(u"SET", u"shi", u"01"_s),
        u"01"_s);
}

void tst_IniFile::readRules_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected"); // "<default>" when the key is not found

    // Names.
    QTest::newRow("names in other cases") << QByteArray("[set]\nSHI=05\n") << "SET"
                                          << "shi"
                                          << "05";
    QTest::newRow("caller's names in capitals") << QByteArray("[SET]\nshi=05\n") << "set"
                                                << "SHI"
                                                << "05";
    QTest::newRow("value keeps its case") << QByteArray("[SET]\nqiancolor=ClReD\n") << "SET"
                                          << "qiancolor"
                                          << "ClReD";
    QTest::newRow("blanks around names") << QByteArray("  [ SET ]  \n\t shi \t=05\n") << "SET"
                                         << "shi"
                                         << "05";
    QTest::newRow("key of another section")
        << QByteArray("[OTHER]\nshi=1\n[SET]\nfeng=2\n") << "SET"
        << "shi"
        << "<default>";
    QTest::newRow("key before any section") << QByteArray("shi=1\n[SET]\n") << "SET"
                                            << "shi"
                                            << "<default>";
    QTest::newRow("first of two keys") << QByteArray("[SET]\nshi=1\nSHI=2\n") << "SET"
                                       << "shi"
                                       << "1";
    QTest::newRow("section given twice")
        << QByteArray("[SET]\nfeng=1\n[X]\n[set]\nshi=2\n") << "SET"
        << "shi"
        << "2";
    QTest::newRow("comment line") << QByteArray("[SET]\n;shi=9\n  ; shi=8\n") << "SET"
                                  << "shi"
                                  << "<default>";
    QTest::newRow("line without equals") << QByteArray("[SET]\nshi\n") << "SET"
                                         << "shi"
                                         << "<default>";
    QTest::newRow("prefix of a key") << QByteArray("[SET]\nshix=1\n") << "SET"
                                     << "shi"
                                     << "<default>";
    QTest::newRow("section without bracket") << QByteArray("[SET\nshi=3\n") << "SET"
                                             << "shi"
                                             << "3";
    QTest::newRow("text after the bracket") << QByteArray("[SET] ; main\nshi=3\n") << "SET"
                                            << "shi"
                                            << "3";
    // Values.
    QTest::newRow("empty value") << QByteArray("[SET]\nico=\n") << "SET"
                                 << "ico"
                                 << "";
    QTest::newRow("blanks around value") << QByteArray("[SET]\nshi=  \t05 \t \n") << "SET"
                                         << "shi"
                                         << "05";
    QTest::newRow("blanks inside value") << QByteArray("[SET]\nmp3=a  b\n") << "SET"
                                         << "mp3"
                                         << "a  b";
    QTest::newRow("equals in value") << QByteArray("[SET]\nmp3=a=b\n") << "SET"
                                     << "mp3"
                                     << "a=b";
    QTest::newRow("double quotes") << QByteArray("[SET]\nmp3=\"/home/u/My Music/a.mp3\"\n") << "SET"
                                   << "mp3"
                                   << "/home/u/My Music/a.mp3";
    QTest::newRow("single quotes") << QByteArray("[SET]\nmp3='a b'\n") << "SET"
                                   << "mp3"
                                   << "a b";
    QTest::newRow("quotes and blanks") << QByteArray("[SET]\nmp3=  \" a b \"  \n") << "SET"
                                       << "mp3"
                                       << " a b ";
    QTest::newRow("one pair only") << QByteArray("[SET]\nmp3=\"\"a\"\"\n") << "SET"
                                   << "mp3"
                                   << "\"a\"";
    QTest::newRow("mixed quotes stay") << QByteArray("[SET]\nmp3=\"a'\n") << "SET"
                                       << "mp3"
                                       << "\"a'";
    QTest::newRow("lone quote stays") << QByteArray("[SET]\nmp3=\"\n") << "SET"
                                      << "mp3"
                                      << "\"";
    QTest::newRow("empty quotes") << QByteArray("[SET]\nmp3=\"\"\n") << "SET"
                                  << "mp3"
                                  << "";
    QTest::newRow("quote inside only") << QByteArray("[SET]\nmp3=a\"b\"\n") << "SET"
                                       << "mp3"
                                       << "a\"b\"";
    // Line ends.
    QTest::newRow("CRLF") << QByteArray("[SET]\r\nshi=05\r\nfeng=30\r\n") << "SET"
                          << "shi"
                          << "05";
    QTest::newRow("no final line end") << QByteArray("[SET]\nshi=05") << "SET"
                                       << "shi"
                                       << "05";
    QTest::newRow("empty file") << QByteArray() << "SET"
                                << "shi"
                                << "<default>";
    QTest::newRow("nul byte in another line") << QByteArray("[SET]\nx=\0\nshi=1\n", 16) << "SET"
                                              << "shi"
                                              << "1";
    // Code page 936 and GB18030.
    QTest::newRow("GBK value") << QByteArray("[SET]\nmp3=\xba\xc9\xcc\xc1\xd4\xc2\xc9\xab.mp3\n")
                               << "SET"
                               << "mp3" << u"荷塘月色.mp3"_s;
    QTest::newRow("GBK key") << QByteArray("[SET]\n\xc9\xe8\xd6\xc3=1\n") << "SET" << u"设置"_s
                             << "1";
    QTest::newRow("trailing byte is not a letter")
        << QByteArray("[SET]\n\x81\x61=1\n") << "SET" << u"丄"_s << "<default>"; // 乤 vs 丄
    QTest::newRow("trailing byte is a bracket")
        << QByteArray("[\xb0\x5d]\nshi=7\n") << u"癩"_s << "shi"
        << "7";
    QTest::newRow("four-byte character") << QByteArray("[SET]\nico=\x94\x39\xfc\x36\n") << "SET"
                                         << "ico" << u"😀"_s;
    QTest::newRow("euro byte of code page 936") << QByteArray("[SET]\nico=\x80"
                                                              "5\n")
                                                << "SET"
                                                << "ico" << u"€5"_s;
    QTest::newRow("broken bytes") << QByteArray("[SET]\nico=a\xff"
                                                "b\x81\n")
                                  << "SET"
                                  << "ico" << u"a\uFFFDb\uFFFD"_s;
}

void tst_IniFile::readRules()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"config.dat"_s);
    writeBytes(path, text);
    QCOMPARE(IniFile(path).readString(section, key, u"<default>"_s), expected);
    QCOMPARE(readBytes(path), text);
}

void tst_IniFile::valueLimit_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("expected");
    const QByteArray ascii(3000, 'a');
    QTest::newRow("2047 bytes") << ascii.first(2047) << QString(2047, u'a');
    QTest::newRow("2048 bytes") << ascii.first(2048) << QString(2047, u'a');
    QTest::newRow("3000 bytes") << ascii << QString(2047, u'a');
    QTest::newRow("quotes do not count") << '"' + ascii.first(2047) + '"' << QString(2047, u'a');
    QTest::newRow("blanks do not count")
        << "   " + ascii.first(2047) + "   " << QString(2047, u'a');
    // Two-byte characters: 2047 would split the 1024th, so 1023 of them are seen.
    QByteArray chinese;
    for (int i = 0; i < 1100; ++i)
        chinese += "\xba\xc9";
    QTest::newRow("two-byte characters") << chinese << QString(1023, u'荷');
    QTest::newRow("odd start") << 'a' + chinese << u'a' + QString(1023, u'荷');
    QByteArray emoji;
    for (int i = 0; i < 600; ++i)
        emoji += "\x94\x39\xfc\x36";
    QString emojiText;
    for (int i = 0; i < 511; ++i)
        emojiText += u"😀"_s;
    QTest::newRow("four-byte characters") << emoji << emojiText;
}

void tst_IniFile::valueLimit()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"config.dat"_s);
    writeBytes(path, "[SET]\r\nmp3=" + stored + "\r\n");
    QCOMPARE(IniFile(path).readString(u"SET", u"mp3", QString()), expected);
}

void tst_IniFile::writeCreatesFileAndSection()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"config.dat"_s);
    IniFile file(path);
    file.writeString(u"SET", u"shi", u"05");
    QCOMPARE(readBytes(path), QByteArray("[SET]\r\nshi=05\r\n"));
    file.writeString(u"SET", u"ico", u"");
    QCOMPARE(readBytes(path), QByteArray("[SET]\r\nshi=05\r\nico=\r\n"));
    // An empty value is a value, not a missing key.
    QCOMPARE(file.readString(u"SET", u"ico", u"<default>"_s), QString(u""_s));
    QCOMPARE(file.readString(u"SET", u"shi", u"01"_s), u"05"_s);
    // A new file gets the usual permissions, not those of a private temporary file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat st = {};
    QVERIFY(::stat(QFile::encodeName(path).constData(), &st) == 0);
    QCOMPARE(st.st_mode & 07777, 0666 & ~mask);
    QCOMPARE(folderEntries(dir.path()), QStringList{u"config.dat"_s});
}

void tst_IniFile::writeRules_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("replace keeps the key's spelling")
        << QByteArray("[set]\r\nSHI = 01\r\n") << "shi"
        << "05" << QByteArray("[set]\r\nSHI =05\r\n");
    QTest::newRow("replace first of two") << QByteArray("[SET]\nshi=1\nshi=2\n") << "shi"
                                          << "3" << QByteArray("[SET]\nshi=3\nshi=2\n");
    QTest::newRow("replace with empty") << QByteArray("[SET]\nico=/a.jpg\n") << "ico"
                                        << "" << QByteArray("[SET]\nico=\n");
    QTest::newRow("replace in the last line without line end")
        << QByteArray("[SET]\nshi=1") << "shi"
        << "2" << QByteArray("[SET]\nshi=2");
    QTest::newRow("add after the section's last line")
        << QByteArray("[SET]\r\nshi=01\r\n\r\n[OTHER]\r\nx=1\r\n") << "feng"
        << "30" << QByteArray("[SET]\r\nshi=01\r\nfeng=30\r\n\r\n[OTHER]\r\nx=1\r\n");
    QTest::newRow("add to the first of two sections")
        << QByteArray("[SET]\na=1\n[X]\n[SET]\nb=2\n") << "c"
        << "3" << QByteArray("[SET]\na=1\nc=3\n[X]\n[SET]\nb=2\n");
    QTest::newRow("add to an empty section") << QByteArray("[SET]\n[OTHER]\n") << "shi"
                                             << "01" << QByteArray("[SET]\nshi=01\n[OTHER]\n");
    QTest::newRow("add where the file has no final line end")
        << QByteArray("[SET]\nshi=1") << "feng"
        << "2" << QByteArray("[SET]\nshi=1\nfeng=2\n");
    QTest::newRow("LF file gets LF lines") << QByteArray("[OTHER]\nx=1\n") << "shi"
                                           << "01" << QByteArray("[OTHER]\nx=1\n[SET]\nshi=01\n");
    QTest::newRow("CRLF file gets CRLF lines")
        << QByteArray("[OTHER]\r\nx=1") << "shi"
        << "01" << QByteArray("[OTHER]\r\nx=1\r\n[SET]\r\nshi=01\r\n");
    QTest::newRow("comment keeps its place") << QByteArray("[SET]\r\n; shi=9\r\nshi=1\r\n") << "shi"
                                             << "2" << QByteArray("[SET]\r\n; shi=9\r\nshi=2\r\n");
    QTest::newRow("Chinese path") << QByteArray("[SET]\r\nmp3=x\r\n") << "mp3"
                                  << u"\"/home/用户/My Music/荷塘月色.mp3\""_s
                                  << QByteArray("[SET]\r\nmp3=\"/home/\xd3\xc3\xbb\xa7/My "
                                                "Music/\xba\xc9\xcc\xc1\xd4\xc2\xc9\xab.mp3\"\r\n");
}

void tst_IniFile::writeRules()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"config.dat"_s);
    writeBytes(path, before);
    IniFile(path).writeString(u"SET", key, value);
    QCOMPARE(readBytes(path), after);
}

void tst_IniFile::writeRefusesWhatWouldSpoilTheFile_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("line feed in value") << "SET"
                                        << "mp3"
                                        << "/a\nshi=99";
    QTest::newRow("carriage return in value") << "SET"
                                              << "mp3"
                                              << "/a\rb";
    QTest::newRow("equals in key") << "SET"
                                   << "a=b"
                                   << "1";
    QTest::newRow("key that reads as a section") << "SET"
                                                 << "[X]"
                                                 << "1";
    QTest::newRow("key that reads as a comment") << "SET"
                                                 << " ;x"
                                                 << "1";
    QTest::newRow("bracket in section") << "S]ET"
                                        << "shi"
                                        << "1";
    QTest::newRow("line feed in section") << "SET\n"
                                          << "shi"
                                          << "1";
    QTest::newRow("lone surrogate") << "SET"
                                    << "mp3" << QString(QChar(0xD800));
}

void tst_IniFile::writeRefusesWhatWouldSpoilTheFile()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"config.dat"_s);
    const QByteArray before("[SET]\r\nshi=01\r\nmp3=/x.mp3\r\n");
    writeBytes(path, before);
    try {
        IniFile(path).writeString(section, key, value);
        QFAIL("no error raised");
    } catch (const EIniFileException &error) {
        QCOMPARE(error.message(), "Unable to write to " + path);
    }
    QCOMPARE(readBytes(path), before);
}

void tst_IniFile::foreignFileKeepsEveryOtherByte()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"config.dat"_s);
    writeBytes(path, foreignFile);

    const IniFile reader(path);
    QCOMPARE(reader.readString(u"SET", u"shi", u"01"_s), u"02"_s);
    QCOMPARE(reader.readString(u"SET", u"feng", u"30"_s), u"15"_s);
    QCOMPARE(reader.readString(u"SET", u"miao", u"00"_s), u"00"_s);
    QCOMPARE(reader.readString(u"SET", u"qiancolor", u"clred"_s), u"clLime"_s);
    QCOMPARE(reader.readString(u"SET", u"beicolor", u"clBlack"_s), u"$00C0FFEE"_s);
    QCOMPARE(reader.readString(u"SET", u"fontsize", u"72"_s), u"72"_s);
    QCOMPARE(reader.readString(u"SET", u"mp3", QString()),
             u"C:\\Program Files\\计时器\\荷塘月色.mp3"_s);
    QCOMPARE(reader.readString(u"SET", u"showtop", u"true"_s), u"true"_s);
    QCOMPARE(readBytes(path), foreignFile);

    // Write back what was read, as the settings dialog does: nothing changes.
    IniFile writer(path);
    writer.writeString(u"SET", u"shi", u"02");
    writer.writeString(u"SET", u"qiancolor", u"clLime");
    writer.writeString(u"SET", u"mp3", u"\"C:\\Program Files\\计时器\\荷塘月色.mp3\"");
    QCOMPARE(readBytes(path), foreignFile);

    // Changed values replace only their own text.
    writer.writeString(u"SET", u"shi", u"00");
    writer.writeString(u"SET", u"feng", u"05");
    writer.writeString(u"SET", u"mp3", u"/音乐/a.mp3");
    writer.writeString(u"SET", u"showtop", u"0");
    QByteArray expected = foreignFile;
    expected.replace("SHI=02\r\n", "SHI=00\r\n");
    expected.replace("Feng = 15\r\n", "Feng =05\r\n");
    const qsizetype mp3 = expected.indexOf("MP3=");
    const qsizetype mp3End = expected.indexOf("\r\n", mp3);
    expected.replace(mp3, mp3End - mp3, "MP3=/\xd2\xf4\xc0\xd6/a.mp3");
    expected.replace("; trailing comment\r\n", "; trailing comment\r\nshowtop=0\r\n");
    QCOMPARE(readBytes(path), expected);
    QCOMPARE(reader.readString(u"OTHER", u"shi", QString()), u"99"_s);
    QCOMPARE(reader.readString(u"SET", u"unknown", QString()), u"keep me"_s);
}

void tst_IniFile::writeReadRoundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("plain") << "01"
                           << "01";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("quoted path with blanks")
        << u"\"/home/u/My Music/荷塘月色.mp3\""_s << u"/home/u/My Music/荷塘月色.mp3"_s;
    QTest::newRow("blanks are trimmed on read") << "  a  "
                                                << "a";
    QTest::newRow("characters beyond code page 936") << u"ÅÄÖ 😀 ①"_s << u"ÅÄÖ 😀 ①"_s;
    QTest::newRow("long value is cut on read") << QString(3000, u'x') << QString(2047, u'x');
}

void tst_IniFile::writeReadRoundTrip()
{
    QFETCH(QString, value);
    QFETCH(QString, readBack);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    IniFile file(dir.filePath(u"config.dat"_s));
    file.writeString(u"SET", u"mp3", value);
    QCOMPARE(file.readString(u"set", u"MP3", u"<default>"_s), readBack);
}

void tst_IniFile::writeKeepsPermissionsAndLinks()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"config.dat"_s);
    writeBytes(path, "[SET]\nshi=01\n");
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0640) == 0);
    IniFile(path).writeString(u"SET", u"shi", u"02");
    struct stat st = {};
    QVERIFY(::stat(QFile::encodeName(path).constData(), &st) == 0);
    QCOMPARE(st.st_mode & 07777, mode_t(0640));
    QCOMPARE(readBytes(path), QByteArray("[SET]\nshi=02\n"));

    // A user allowed to give files away (root) keeps the file's owner.
    if (::geteuid() == 0) {
        QVERIFY(::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0);
        IniFile(path).writeString(u"SET", u"shi", u"04");
        QVERIFY(::stat(QFile::encodeName(path).constData(), &st) == 0);
        QCOMPARE(st.st_uid, uid_t(65534));
        QCOMPARE(st.st_gid, gid_t(65534));
        QCOMPARE(st.st_mode & 07777, mode_t(0640));
    }

    // A link to the settings file stays a link; the file it names is updated.
    QVERIFY(QDir(dir.path()).mkdir(u"real"_s));
    const QString target = dir.filePath(u"real/config.dat"_s);
    writeBytes(target, "[SET]\nshi=01\n");
    const QString link = dir.filePath(u"link.dat"_s);
    QVERIFY(QFile::link(target, link));
    IniFile(link).writeString(u"SET", u"shi", u"03");
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readBytes(target), QByteArray("[SET]\nshi=03\n"));
    // No temporary file is left behind.
    QCOMPARE(folderEntries(dir.path()), (QStringList{u"config.dat"_s, u"link.dat"_s, u"real"_s}));
    QCOMPARE(folderEntries(dir.filePath(u"real"_s)), QStringList{u"config.dat"_s});
}

void tst_IniFile::writeWherePathCannotBeAFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The folder part is a file: no user, root included, can create anything below it.
    const QString notAFolder = dir.filePath(u"plain"_s);
    writeBytes(notAFolder, "x");
    const QString underFile = notAFolder + u"/config.dat"_s;
    QVERIFY_THROWS_EXCEPTION(EIniFileException,
                             IniFile(underFile).writeString(u"SET", u"shi", u"01"));
    try {
        IniFile(underFile).writeString(u"SET", u"shi", u"01");
    } catch (const EIniFileException &error) {
        QCOMPARE(error.message(), "Unable to write to " + underFile);
    }
    QCOMPARE(readBytes(notAFolder), QByteArray("x"));

    // The settings file's name is taken by a folder: it is neither read nor replaced.
    const QString folder = dir.filePath(u"config.dat"_s);
    QVERIFY(QDir(dir.path()).mkdir(u"config.dat"_s));
    writeBytes(folder + u"/inside"_s, "kept");
    QVERIFY_THROWS_EXCEPTION(EIniFileException, IniFile(folder).writeString(u"SET", u"shi", u"01"));
    QCOMPARE(readBytes(folder + u"/inside"_s), QByteArray("kept"));
}

void tst_IniFile::writeToReadOnlyFolderWritesTheFileItself()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"config.dat"_s);
    IniFile file(path);
    file.writeString(u"SET", u"shi", u"05");
    const QString missing = dir.filePath(u"missing.dat"_s);

    ReadOnlyFolder readOnly(dir.path());
    if (!readOnly.isActive())
        QSKIP("this system offers no way to make a folder read-only for this user");
    qInfo("folder made read-only by its %s", readOnly.how().constData());
    // The file may be written, so it is, in place.
    file.writeString(u"SET", u"feng", u"30");
    file.writeString(u"SET", u"shi", u"06");
    QCOMPARE(readBytes(path), QByteArray("[SET]\r\nshi=06\r\nfeng=30\r\n"));
    // A file that is not there cannot be made.
    try {
        IniFile(missing).writeString(u"SET", u"shi", u"01");
        QFAIL("no error raised");
    } catch (const EIniFileException &error) {
        QCOMPARE(error.message(), "Unable to write to " + missing);
    }
    QCOMPARE(folderEntries(dir.path()), QStringList{u"config.dat"_s});
}

QTEST_GUILESS_MAIN(tst_IniFile)
#include "tst_inifile.moc"
