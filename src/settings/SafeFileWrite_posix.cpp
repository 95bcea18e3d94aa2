// SPDX-License-Identifier: GPL-3.0-or-later
#include "SafeFileWrite.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SafeFileWrite {

namespace {

// As many links as the kernel follows before it gives up.
constexpr int maxLinks = 40;
// A temporary file nobody can lock is only taken for abandoned after this long.
constexpr time_t staleSeconds = 60;

// Closes a descriptor when it goes out of scope.
class Descriptor
{
    Q_DISABLE_COPY_MOVE(Descriptor)
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }

private:
    int m_fd;
};

bool writeAll(int fd, QByteArrayView data)
{
    const char *p = data.data();
    qsizetype left = data.size();
    off_t offset = 0;
    while (left > 0) {
        const ssize_t n = ::pwrite(fd, p, std::size_t(left), offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
        offset += n;
    }
    return true;
}

bool readAll(int fd, QByteArray &out)
{
    out.clear();
    char buffer[16384];
    off_t offset = 0;
    for (;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return true;
        out.append(buffer, n);
        offset += n;
    }
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray(slash == 0 ? "/" : ".") : path.first(slash);
}

QByteArray nameOf(const QByteArray &path)
{
    return path.sliced(path.lastIndexOf('/') + 1);
}

// The file a path finally names, following links even where the last one dangles.
bool resolveLinks(QByteArray &path)
{
    for (int i = 0; i < maxLinks; ++i) {
        struct stat st = {};
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true; // a missing file is created under this name
        QByteArray target(PATH_MAX, Qt::Uninitialized);
        const ssize_t n = ::readlink(path.constData(), target.data(), std::size_t(target.size()));
        if (n <= 0 || n >= target.size())
            return false;
        target.truncate(n);
        path = target.startsWith('/') ? target : folderOf(path) + '/' + target;
    }
    return false;
}

bool isAccessible(const QByteArray &path, int mode)
{
    return ::faccessat(AT_FDCWD, path.constData(), mode, AT_EACCESS) == 0;
}

// The rename is only durable once the folder's entry is on the disk too.
void syncFolder(const QByteArray &folder)
{
    const Descriptor fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.isValid())
        ::fsync(fd.get());
}

bool isTempName(const char *entry, const QByteArray &name)
{
    const QByteArrayView text(entry);
    const QByteArray prefix = '.' + name + '.';
    if (!text.startsWith(prefix) || !text.endsWith(".tmp"))
        return false;
    const QByteArrayView random = text.sliced(prefix.size(), text.size() - prefix.size() - 4);
    if (random.isEmpty())
        return false;
    for (const char c : random) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')))
            return false;
    }
    return true;
}

// A writer holds an exclusive lock on its temporary file from before it writes until the
// file is renamed or removed, so one that can be locked belongs to no running writer. Where
// the file system has no locks, age alone decides.
void removeStaleTemps(const QByteArray &folder, const QByteArray &name)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    const int dirFd = ::dirfd(dir);
    const time_t now = ::time(nullptr);
    while (const dirent *entry = ::readdir(dir)) {
        if (!isTempName(entry->d_name, name))
            continue;
        const Descriptor fd(
            ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat st = {};
        if (!fd.isValid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        bool stale = ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0;
        if (!stale && errno != EWOULDBLOCK)
            stale = now - st.st_mtime > staleSeconds;
        // Only the very file that was checked is removed.
        struct stat named = {};
        if (stale && ::fstatat(dirFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_dev == st.st_dev && named.st_ino == st.st_ino) {
            ::unlinkat(dirFd, entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

enum class Replace
{
    Done,
    Failed,
    CannotKeepFile // the new file could not take the old one's owner or place
};

// Creates the temporary file locked. A writer cleaning up may remove it between its creation
// and the lock; then another is made.
int createLockedTemp(const QByteArray &folder, const QByteArray &name, mode_t mode,
                     QByteArray &tempName)
{
    for (int attempt = 0; attempt < 64; ++attempt) {
        tempName = folder + "/." + name + '.' +
                   QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
        const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return -1;
        }
        int locked;
        do
            locked = ::flock(fd, LOCK_EX);
        while (locked != 0 && errno == EINTR);
        if (locked != 0)
            return fd; // no locks on this file system: cleaning up goes by age alone
        struct stat st = {};
        if (::fstat(fd, &st) == 0 && st.st_nlink > 0)
            return fd;
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

Replace replaceWithTemp(const QByteArray &target, QByteArrayView data, const struct stat *old)
{
    const QByteArray folder = folderOf(target);
    const QByteArray name = nameOf(target);
    removeStaleTemps(folder, name);

    // A new file gets the usual permissions (umask applied by open); a replaced one its old.
    QByteArray tempName;
    const Descriptor fd(createLockedTemp(folder, name, old ? 0600 : 0666, tempName));
    if (!fd.isValid())
        return old && (errno == EACCES || errno == EPERM) ? Replace::CannotKeepFile
                                                          : Replace::Failed;
    const auto giveUp = [&tempName](Replace how) {
        ::unlink(tempName.constData());
        return how;
    };
    if (old) {
        // Changing the owner may clear mode bits, so the mode is set after it.
        struct stat temp = {};
        if (::fstat(fd.get(), &temp) != 0)
            return giveUp(Replace::Failed);
        if ((temp.st_uid != old->st_uid || temp.st_gid != old->st_gid) &&
            ::fchown(fd.get(), old->st_uid, old->st_gid) != 0) {
            return giveUp(Replace::CannotKeepFile);
        }
        if (::fchmod(fd.get(), old->st_mode & 07777) != 0)
            return giveUp(Replace::Failed);
    }
    if (!writeAll(fd.get(), data) || ::fsync(fd.get()) != 0)
        return giveUp(Replace::Failed);
    if (::rename(tempName.constData(), target.constData()) != 0) {
        // A folder with the sticky bit keeps another user's file from being replaced.
        return giveUp(old && (errno == EPERM || errno == EACCES) ? Replace::CannotKeepFile
                                                                 : Replace::Failed);
    }
    syncFolder(folder);
    return Replace::Done;
}

// Rewrites the file itself so that a kill at any moment leaves text that reads as the old or
// the new: room for a longer text is reserved without changing the length, and the new text
// goes over the old in one write; a shorter one is padded with line breaks (blank lines,
// which the reader skips) to the old length, flushed, and only then is the file cut.
// A full disk changes nothing; if writing fails all the same, the old text is put back.
bool writeInPlace(const QByteArray &target, QByteArrayView data)
{
    const Descriptor fd(::open(target.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC));
    struct stat st = {};
    if (!fd.isValid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    QByteArray old;
    if (!readAll(fd.get(), old))
        return false;
    if (data.size() > old.size() &&
        ::fallocate(fd.get(), FALLOC_FL_KEEP_SIZE, 0, off_t(data.size())) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS) {
        return false;
    }
    QByteArray padded = data.toByteArray();
    if (padded.size() < old.size())
        padded.append(old.size() - padded.size(), '\n');
    if (writeAll(fd.get(), padded) && ::fsync(fd.get()) == 0 &&
        (padded.size() == data.size() ||
         (::ftruncate(fd.get(), off_t(data.size())) == 0 && ::fsync(fd.get()) == 0))) {
        return true;
    }
    if (writeAll(fd.get(), old) && ::ftruncate(fd.get(), off_t(old.size())) == 0)
        ::fsync(fd.get());
    return false;
}

} // namespace

Result write(const QString &path, QByteArrayView data)
{
    QByteArray target = QFile::encodeName(
        QDir::isAbsolutePath(path) ? path : QDir::currentPath() + QLatin1Char('/') + path);
    if (!resolveLinks(target))
        return Result::Refused;

    struct stat old = {};
    if (::stat(target.constData(), &old) != 0) {
        if (errno != ENOENT)
            return Result::Refused;
        return replaceWithTemp(target, data, nullptr) == Replace::Done ? Result::Replaced
                                                                       : Result::Refused;
    }
    if (!S_ISREG(old.st_mode) || (old.st_mode & 0222) == 0 || !isAccessible(target, W_OK))
        return Result::Refused;

    // Further names of the file would keep the old text after a rename.
    if (old.st_nlink == 1 && isAccessible(folderOf(target), W_OK | X_OK)) {
        switch (replaceWithTemp(target, data, &old)) {
        case Replace::Done:
            return Result::Replaced;
        case Replace::Failed:
            return Result::Refused;
        case Replace::CannotKeepFile:
            break;
        }
    }
    return writeInPlace(target, data) ? Result::WrittenInPlace : Result::Refused;
}

} // namespace SafeFileWrite
