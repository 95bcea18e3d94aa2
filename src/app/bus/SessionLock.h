// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// A lock the running program holds for its whole run, one per user and session bus: a launch
// that gets it knows at once that no program of this session runs, and starts without asking
// the bus. One that does not get it asks the bus as before. The bus name stays the authority:
// a program that runs without the lock (an older version, another runtime folder) is still
// found when this launch claims the name.
class SessionLock
{
    Q_DISABLE_COPY_MOVE(SessionLock)

public:
    // Takes the lock in directory for the bus at busAddress, if it is free; an empty
    // directory takes nothing.
    SessionLock(const QString &directory, const QByteArray &busAddress);
    ~SessionLock();

    // This process holds the lock: no other program of this session holds it.
    bool isHeld() const { return m_fd >= 0; }

    // The user's runtime folder ($XDG_RUNTIME_DIR), empty when the session has none.
    static QString runtimeDirectory();
    // The session bus this process talks to, as its environment names it.
    static QByteArray sessionBusAddress();

private:
    int m_fd = -1;
};
