// SPDX-License-Identifier: GPL-3.0-or-later
#include "EIniFileException.h"
#include "IniFile.h"
#include "SafeFileWrite.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

using namespace Qt::Literals::StringLiterals;
using Result = SafeFileWrite::Result;

namespace {

// The users of the permission cases: the writer, another user sharing a group with it, and a
// group the writer is not in. Numbers only; no account is needed for them.
constexpr uid_t other = 4201;
constexpr uid_t writer = 4202;
constexpr gid_t shared = 4200;
constexpr gid_t writerGroup = 4202;
constexpr gid_t foreignGroup = 4300;

const QByteArray oldText("[SET]\r\nshi=01\r\n");
const QByteArray newText("[SET]\r\nshi=02\r\nfeng=30\r\n");

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

struct stat statOf(const QString &path)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        st.st_ino = 0;
    return st;
}

QStringList tempFiles(const QString &folder)
{
    return QDir(folder).entryList({u".*.tmp"_s}, QDir::Files | QDir::Hidden | QDir::System);
}

// Runs a step in a child process as the writer, an ordinary user, and gives its exit status.
int runAsWriter(const std::function<int()> &step)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        const gid_t groups[] = {shared};
        if (::setgroups(1, groups) != 0 ||
            ::setresgid(writerGroup, writerGroup, writerGroup) != 0 ||
            ::setresuid(writer, writer, writer) != 0) {
            ::_exit(99);
        }
        ::umask(022);
        ::_exit(step());
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

void own(const QString &path, uid_t uid, gid_t gid, mode_t mode)
{
    const QByteArray name = QFile::encodeName(path);
    QVERIFY(::lchown(name.constData(), uid, gid) == 0);
    QVERIFY(::chmod(name.constData(), mode) == 0);
}

} // namespace

class tst_SafeFileWrite : public QObject
{
    Q_OBJECT

private slots:
    void permissionCases_data();
    void permissionCases();
    void rootIsRefusedAFileWithoutWritePermission();
    void linksAreFollowed();
    void staleTempFilesAreRemoved();
    void killedWritersLeaveAtMostOneTempFile();
    void fullDiskLosesNothing();
    void inPlaceWriteKilledAtTheCutReadsAsNew();
};

void tst_SafeFileWrite::permissionCases_data()
{
    QTest::addColumn<bool>("throughLink"); // the path is a link to the file
    QTest::addColumn<uint>("folderUid");
    QTest::addColumn<uint>("folderGid");
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<uint>("fileUid");
    QTest::addColumn<uint>("fileGid");
    QTest::addColumn<int>("fileMode"); // -1: no file
    QTest::addColumn<bool>("hardLinked");
    QTest::addColumn<Result>("expected");

    const auto row = [](const char *name, bool link, uint folderUid, uint folderGid, int folderMode,
                        uint fileUid, uint fileGid, int fileMode, bool hard, Result expected) {
        QTest::newRow(name) << link << folderUid << folderGid << folderMode << fileUid << fileGid
                            << fileMode << hard << expected;
    };
    row("own file, own folder", false, writer, writerGroup, 0755, writer, writerGroup, 0644, false,
        Result::Replaced);
    row("own file without write permission", false, writer, writerGroup, 0755, writer, writerGroup,
        0444, false, Result::Refused);
    row("other user's group-writable file", false, other, shared, 0775, other, shared, 0664, false,
        Result::WrittenInPlace);
    row("other user's file, folder writable", false, other, shared, 0775, other, other, 0644, false,
        Result::Refused);
    row("world-writable file, folder not writable", false, 0, 0, 0755, 0, 0, 0666, false,
        Result::WrittenInPlace);
    row("own file, folder not writable", false, 0, 0, 0755, writer, writerGroup, 0644, false,
        Result::WrittenInPlace);
    row("own file of a group the user is not in", false, writer, writerGroup, 0755, writer,
        foreignGroup, 0664, false, Result::WrittenInPlace);
    row("own file in a sticky shared folder", false, 0, 0, 01777, writer, writerGroup, 0644, false,
        Result::Replaced);
    row("other user's group-writable file in a sticky shared folder", false, 0, 0, 01777, other,
        shared, 0664, false, Result::WrittenInPlace);
    row("file with a second hard link", false, writer, writerGroup, 0755, writer, writerGroup, 0644,
        true, Result::WrittenInPlace);
    row("no file, folder writable", false, writer, writerGroup, 0755, 0, 0, -1, false,
        Result::Replaced);
    row("no file, folder not writable", false, 0, 0, 0755, 0, 0, -1, false, Result::Refused);
    row("link to own file", true, writer, writerGroup, 0755, writer, writerGroup, 0644, false,
        Result::Replaced);
    row("dangling link", true, writer, writerGroup, 0755, 0, 0, -1, false, Result::Replaced);
    row("link to a world-writable file, folder not writable", true, 0, 0, 0755, 0, 0, 0666, false,
        Result::WrittenInPlace);
    row("link to a file the user may not write", true, 0, 0, 0755, 0, 0, 0644, false,
        Result::Refused);
}

void tst_SafeFileWrite::permissionCases()
{
    QFETCH(bool, throughLink);
    QFETCH(uint, folderUid);
    QFETCH(uint, folderGid);
    QFETCH(int, folderMode);
    QFETCH(uint, fileUid);
    QFETCH(uint, fileGid);
    QFETCH(int, fileMode);
    QFETCH(bool, hardLinked);
    QFETCH(Result, expected);
    if (::geteuid() != 0)
        QSKIP("switching to another user needs root");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    own(dir.path(), 0, 0, 0755);
    const QString folder = dir.filePath(u"folder"_s);
    QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
    const QString file = folder + u"/config.dat"_s;
    if (fileMode >= 0) {
        writeBytes(file, oldText);
        own(file, fileUid, fileGid, mode_t(fileMode));
        if (hardLinked)
            QVERIFY(::link(QFile::encodeName(file).constData(),
                           QFile::encodeName(folder + u"/copy.dat"_s).constData()) == 0);
    }
    own(folder, folderUid, folderGid, mode_t(folderMode));
    QString path = file;
    if (throughLink) {
        QVERIFY(QDir(dir.path()).mkdir(u"links"_s));
        path = dir.filePath(u"links/config.dat"_s);
        QVERIFY(::symlink("../folder/config.dat", QFile::encodeName(path).constData()) == 0);
        own(dir.filePath(u"links"_s), writer, writerGroup, 0755);
    }
    const struct stat before = statOf(file);

    const int status =
        runAsWriter([&path] { return int(SafeFileWrite::write(path, newText)) + 10; });
    QCOMPARE(status - 10, int(expected));

    const struct stat after = statOf(file);
    if (expected == Result::Refused) {
        QCOMPARE(after.st_ino, before.st_ino);
        if (fileMode >= 0)
            QCOMPARE(readBytes(file), oldText);
    } else {
        QCOMPARE(readBytes(file), newText);
    }
    if (expected == Result::WrittenInPlace)
        QCOMPARE(after.st_ino, before.st_ino);
    if (expected == Result::Replaced && fileMode >= 0)
        QVERIFY(after.st_ino != before.st_ino);
    if (fileMode >= 0) {
        // Owner, group and permissions stay the file's own.
        QCOMPARE(after.st_uid, uid_t(fileUid));
        QCOMPARE(after.st_gid, gid_t(fileGid));
        QCOMPARE(after.st_mode & 07777, mode_t(fileMode));
    } else if (expected == Result::Replaced) {
        QCOMPARE(after.st_uid, writer);
        QCOMPARE(after.st_mode & 07777, mode_t(0644));
    }
    if (hardLinked)
        QCOMPARE(readBytes(folder + u"/copy.dat"_s), readBytes(file));
    if (throughLink)
        QVERIFY(QFileInfo(path).isSymLink());
    QCOMPARE(tempFiles(folder), QStringList());
}

void tst_SafeFileWrite::rootIsRefusedAFileWithoutWritePermission()
{
    // The user protected the file; root is refused as every user would be.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"config.dat"_s);
    writeBytes(path, oldText);
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);
    try {
        IniFile(path).writeString(u"SET", u"shi", u"02");
        QFAIL("no error raised");
    } catch (const EIniFileException &error) {
        QCOMPARE(error.message(), "Unable to write to " + path);
    }
    QCOMPARE(readBytes(path), oldText);
    QCOMPARE(statOf(path).st_mode & 07777, mode_t(0444));
}

void tst_SafeFileWrite::linksAreFollowed()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(u"a/b"_s));
    const QByteArray root = QFile::encodeName(dir.path());

    // A chain of links, relative and absolute, ending in a missing file: the file is made.
    QVERIFY(::symlink("b/real.dat", (root + "/a/second").constData()) == 0);
    QVERIFY(::symlink((root + "/a/second").constData(), (root + "/first").constData()) == 0);
    QCOMPARE(SafeFileWrite::write(dir.filePath(u"first"_s), newText), Result::Replaced);
    QCOMPARE(readBytes(dir.filePath(u"a/b/real.dat"_s)), newText);
    QVERIFY(QFileInfo(dir.filePath(u"first"_s)).isSymLink());
    QVERIFY(QFileInfo(dir.filePath(u"a/second"_s)).isSymLink());

    // A link into a missing folder, and a loop, are refused.
    QVERIFY(::symlink("no/such/folder.dat", (root + "/nowhere").constData()) == 0);
    QCOMPARE(SafeFileWrite::write(dir.filePath(u"nowhere"_s), newText), Result::Refused);
    QVERIFY(::symlink("loop2", (root + "/loop1").constData()) == 0);
    QVERIFY(::symlink("loop1", (root + "/loop2").constData()) == 0);
    QCOMPARE(SafeFileWrite::write(dir.filePath(u"loop1"_s), newText), Result::Refused);
    QVERIFY(QFileInfo(dir.filePath(u"loop1"_s)).isSymLink());
}

void tst_SafeFileWrite::staleTempFilesAreRemoved()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"config.dat"_s);
    writeBytes(path, oldText);
    const auto make = [&dir](const QString &name) {
        writeBytes(dir.filePath(name), "partial");
        return dir.filePath(name);
    };
    make(u".config.dat.k3x9a.tmp"_s);
    const QString old = make(u".config.dat.a0.tmp"_s);
    const struct timespec times[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(old).constData(), times, 0) == 0);
    // Files a running writer holds stay, however old.
    const QString held = make(u".config.dat.held1.tmp"_s);
    const QString heldOld = make(u".config.dat.held2.tmp"_s);
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(heldOld).constData(), times, 0) == 0);
    const int heldFd = ::open(QFile::encodeName(held).constData(), O_RDONLY);
    const int heldOldFd = ::open(QFile::encodeName(heldOld).constData(), O_RDONLY);
    QVERIFY(::flock(heldFd, LOCK_EX) == 0 && ::flock(heldOldFd, LOCK_EX) == 0);
    // Names of other patterns, and what is not a plain file, stay.
    for (const QString &name :
         {u".config.dat.ABC.tmp"_s, u".config.dat..tmp"_s, u".config.dat.x-y.tmp"_s,
          u"config.dat.abc.tmp"_s, u".other.dat.abc.tmp"_s, u".config.dat.abc.tmp.bak"_s}) {
        make(name);
    }
    QVERIFY(QDir(dir.path()).mkdir(u".config.dat.dir.tmp"_s));
    const QString outside = make(u"outside.dat"_s);
    QVERIFY(QFile::link(outside, dir.filePath(u".config.dat.link.tmp"_s)));

    IniFile(path).writeString(u"SET", u"shi", u"02");
    ::close(heldFd);
    ::close(heldOldFd);
    const QStringList left =
        QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);
    QCOMPARE(left, (QStringList{u".config.dat..tmp"_s, u".config.dat.ABC.tmp"_s,
                                u".config.dat.abc.tmp.bak"_s, u".config.dat.dir.tmp"_s,
                                u".config.dat.held1.tmp"_s, u".config.dat.held2.tmp"_s,
                                u".config.dat.link.tmp"_s, u".config.dat.x-y.tmp"_s,
                                u".other.dat.abc.tmp"_s, u"config.dat"_s, u"config.dat.abc.tmp"_s,
                                u"outside.dat"_s}));
    QCOMPARE(readBytes(outside), QByteArray("partial"));
}

void tst_SafeFileWrite::killedWritersLeaveAtMostOneTempFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"config.dat"_s);
    IniFile(path).writeString(u"SET", u"shi", u"0");
    const QRegularExpression whole(u"^\\[SET\\]\\r\\nshi=\\d+\\r\\n$"_s);
    QRandomGenerator delays(12);
    int leftBehind = 0;
    for (int kill = 0; kill < 100; ++kill) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            for (int n = 1;; ++n) {
                IniFile(path).writeString(u"SET", u"shi", QString::number(n));
            }
        }
        QVERIFY(pid > 0);
        ::usleep(1000 + delays.bounded(15000));
        ::kill(pid, SIGKILL);
        int status = 0;
        QCOMPARE(::waitpid(pid, &status, 0), pid);
        QVERIFY(WIFSIGNALED(status));
        // The file is always whole; of the temporary files only this kill's may be left.
        const QByteArray text = readBytes(path);
        QVERIFY2(whole.match(QString::fromLatin1(text)).hasMatch(), text.constData());
        const QStringList temps = tempFiles(dir.path());
        QVERIFY2(temps.size() <= 1, qPrintable(temps.join(u' ')));
        leftBehind += int(temps.size());
    }
    qInfo("%d of 100 kills left a temporary file behind", leftBehind);
    QVERIFY(leftBehind > 0); // the kills did land inside writes
    IniFile(path).writeString(u"SET", u"shi", u"1");
    QCOMPARE(tempFiles(dir.path()), QStringList());
}

void tst_SafeFileWrite::fullDiskLosesNothing()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP("cannot mount a small file system here (needs root)");
    const auto unmount = qScopeGuard([&mountPoint] { ::umount(mountPoint.constData()); });

    const QString path = dir.filePath(u"config.dat"_s);
    writeBytes(path, oldText);
    // Fill the disk.
    {
        QFile filler(dir.filePath(u"filler"_s));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    const QString longValue(9000, u'v');
    const QByteArray copy = QFile::encodeName(dir.filePath(u"copy.dat"_s));
    QVERIFY(::link(QFile::encodeName(path).constData(), copy.constData()) == 0);
    // Written in place while the file has a second name, replaced once it has one only.
    for (const bool inPlace : {true, false}) {
        QVERIFY_THROWS_EXCEPTION(EIniFileException,
                                 IniFile(path).writeString(u"SET", u"mp3", longValue));
        QCOMPARE(readBytes(path), oldText);
        QCOMPARE(tempFiles(dir.path()), QStringList());
        if (inPlace) {
            QCOMPARE(statOf(path).st_nlink, nlink_t(2));
            QVERIFY(::unlink(copy.constData()) == 0);
        }
    }
}

// The in-place write of a shorter text, killed by strace's fault injection at the moment it
// would cut the file: what is left reads as the new text, with nothing of the old tail.
void tst_SafeFileWrite::inPlaceWriteKilledAtTheCutReadsAsNew()
{
    const QString strace = QStandardPaths::findExecutable(u"strace"_s);
    if (strace.isEmpty())
        QSKIP("strace is not installed");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"config.dat"_s);
    writeBytes(path, "[SET]\r\nmp3=/home/someone/music/a-rather-long-name.mp3\r\nkey=value\r\n");
    // A second name keeps the write in place.
    QVERIFY(::link(QFile::encodeName(path).constData(),
                   QFile::encodeName(dir.filePath(u"copy.dat"_s)).constData()) == 0);
    const QByteArray expected("[SET]\r\nmp3=/m.mp3\r\nkey=value\r\n");

    int go[2];
    QVERIFY(::pipe(go) == 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(go[1]);
        char byte = 0;
        if (::read(go[0], &byte, 1) != 1)
            ::_exit(98);
        IniFile(path).writeString(u"SET", u"mp3", u"/m.mp3");
        ::_exit(0);
    }
    QVERIFY(pid > 0);
    ::close(go[0]);
    QProcess tracer;
    tracer.setProcessChannelMode(QProcess::MergedChannels);
    tracer.start(strace, {u"-f"_s, u"-e"_s, u"trace=ftruncate"_s, u"-e"_s,
                          u"inject=ftruncate:signal=KILL"_s, u"-p"_s, QString::number(pid)});
    QByteArray traced;
    while (!traced.contains("attached") && tracer.waitForReadyRead(10000))
        traced += tracer.readAll();
    if (!traced.contains("attached")) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        QSKIP(qPrintable(u"strace cannot trace here: "_s + QString::fromLocal8Bit(traced)));
    }
    QCOMPARE(::write(go[1], "x", 1), ssize_t(1));
    ::close(go[1]);
    int status = 0;
    QCOMPARE(::waitpid(pid, &status, 0), pid);
    QVERIFY(tracer.waitForFinished(10000));
    traced += tracer.readAll();
    QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, traced.constData());

    const QByteArray text = readBytes(path);
    QVERIFY2(text.startsWith(expected) &&
                 text.sliced(expected.size()).count('\n') == text.size() - expected.size(),
             text.constData());
    QCOMPARE(IniFile(path).readString(u"SET", u"mp3", u"(none)"_s), u"/m.mp3"_s);
    QCOMPARE(IniFile(path).readString(u"SET", u"ey", u"(none)"_s), u"(none)"_s);
    qInfo("%lld bytes after the kill, %lld of them new text", qlonglong(text.size()),
          qlonglong(expected.size()));
}

QTEST_GUILESS_MAIN(tst_SafeFileWrite)
#include "tst_safefilewrite.moc"
