// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

// The hanging file system (slowfs) mounted for one test: the files of a source folder,
// with stat, open or read on them hanging for a minute. Gone with the object: unmounted
// lazily and its process killed, which lets every hanging call fail at once.
//
// Needs the slowfs program (TARVIK_SLOWFS_PROGRAM), /dev/fuse and fusermount3; where one
// of them is missing, isMounted() is false and reason() says why (tests skip then).
class SlowFs
{
public:
    SlowFs(const QString &sourceFolder, const QString &block, int seconds = 60)
    {
#ifdef TARVIK_SLOWFS_PROGRAM
        const QString program = QStringLiteral(TARVIK_SLOWFS_PROGRAM);
#else
        const QString program;
#endif
        if (program.isEmpty()) {
            m_reason = QStringLiteral("slowfs was not built (libfuse3 missing)");
            return;
        }
        if (!QFile::exists(QStringLiteral("/dev/fuse"))) {
            m_reason = QStringLiteral("no /dev/fuse on this machine: FUSE file systems cannot "
                                      "be mounted");
            return;
        }
        if (!m_mountDir.isValid()) {
            m_reason = QStringLiteral("no temporary folder for the mount point");
            return;
        }
        m_process = std::make_unique<QProcess>();
        m_process->setProcessChannelMode(QProcess::MergedChannels);
        m_process->start(program, {sourceFolder, m_mountDir.path(), QStringLiteral("--block"),
                                   block, QStringLiteral("--seconds"), QString::number(seconds)});
        if (!m_process->waitForStarted(5000)) {
            m_reason = QStringLiteral("slowfs did not start: ") + m_process->errorString();
            return;
        }
        const QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            if (mountedNow()) {
                m_mounted = true;
                return;
            }
            if (m_process->state() == QProcess::NotRunning)
                break;
            QThread::msleep(50);
        }
        m_reason = QStringLiteral("slowfs did not mount: ") +
                   QString::fromLocal8Bit(m_process->readAll()).trimmed();
    }

    ~SlowFs()
    {
        if (!m_process)
            return;
        if (m_mounted)
            QProcess::execute(QStringLiteral("fusermount3"),
                              {QStringLiteral("-u"), QStringLiteral("-z"), m_mountDir.path()});
        m_process->kill();
        m_process->waitForFinished(5000);
    }

    SlowFs(const SlowFs &) = delete;
    SlowFs &operator=(const SlowFs &) = delete;

    bool isMounted() const { return m_mounted; }
    QString reason() const { return m_reason; }
    QString path(const QString &name) const { return m_mountDir.filePath(name); }

private:
    // Looks at the mount table, never at the mount point itself.
    bool mountedNow() const
    {
        QFile mounts(QStringLiteral("/proc/self/mountinfo"));
        if (!mounts.open(QIODevice::ReadOnly))
            return false;
        const QByteArray point = QFile::encodeName(QDir(m_mountDir.path()).absolutePath());
        for (const QByteArray &line : mounts.readAll().split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields.size() > 4 && fields.at(4) == point)
                return true;
        }
        return false;
    }

    QTemporaryDir m_mountDir;
    std::unique_ptr<QProcess> m_process;
    bool m_mounted = false;
    QString m_reason;
};
