// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

SessionLock::SessionLock(const QString &directory, const QByteArray &busAddress)
{
    if (directory.isEmpty())
        return;
    // One file per bus: programs on two buses of one user (a test's private bus) both run.
    const QByteArray bus =
        QCryptographicHash::hash(busAddress, QCryptographicHash::Sha1).toHex().left(16);
    const QString path = QDir(directory).filePath(
        QStringLiteral("tarvik-timer-%1.lock").arg(QString::fromLatin1(bus)));
    // Not inherited by the processes the program starts, and never through a link.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return;
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        ::close(fd);
        return;
    }
    m_fd = fd;
}

SessionLock::~SessionLock()
{
    // The file stays: removing it could let a launch lock a new file while another
    // waits on the old one.
    if (m_fd >= 0)
        ::close(m_fd);
}

QString SessionLock::runtimeDirectory()
{
    return qEnvironmentVariable("XDG_RUNTIME_DIR");
}

QByteArray SessionLock::sessionBusAddress()
{
    return qgetenv("DBUS_SESSION_BUS_ADDRESS");
}
