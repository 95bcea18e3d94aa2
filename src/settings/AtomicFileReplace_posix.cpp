#include "AtomicFileReplace.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace AtomicFileReplace {

namespace {

bool writeAll(int fd, QByteArrayView data)
{
    const char *p = data.data();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, std::size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// The rename is only durable once the folder's entry is on the disk too.
void syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

bool replace(const QString &path, QByteArrayView data)
{
    QString targetPath = path;
    const QFileInfo info(path);
    if (info.isSymLink() && info.exists())
        targetPath = info.canonicalFilePath();
    const QFileInfo target(targetPath);
    const QByteArray targetName = QFile::encodeName(target.absoluteFilePath());
    const QByteArray folder = QFile::encodeName(target.absolutePath());

    struct stat old = {};
    const bool hadOld = ::stat(targetName.constData(), &old) == 0;
    if (hadOld && !S_ISREG(old.st_mode))
        return false;

    // A new file gets the usual permissions (umask applied by open); a replaced one its old.
    int fd = -1;
    QByteArray tempName;
    for (int attempt = 0; attempt < 64 && fd < 0; ++attempt) {
        tempName = folder + "/." + QFile::encodeName(target.fileName()) + '.' +
                   QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
        fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    hadOld ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;

    bool ok = true;
    if (hadOld) {
        // Changing the owner may clear mode bits, so the mode is set after it.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Only a privileged user may give a file away; keeping the writer as owner is fine.
        }
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    }
    ok = ok && writeAll(fd, data);
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(tempName.constData(), targetName.constData()) == 0;
    if (!ok) {
        ::unlink(tempName.constData());
        return false;
    }
    syncFolder(folder);
    return true;
}

} // namespace AtomicFileReplace
