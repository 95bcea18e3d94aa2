// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <atomic>
#include <chrono>
#include <memory>

// Work on a user-chosen path that may never come back: a file system call that hangs on a
// stuck mount cannot be interrupted, so its thread is left to finish on its own. Each such
// job holds a ticket for its kind of work and its path while its thread runs; the ticket
// carries the moment after which the job counts as stuck. While a ticket is stuck, new work
// of that kind on that path is refused at once, without a new thread, so retrying on a path
// that never answers leaves at most one thread behind per kind of work and path.
class StuckWork
{
public:
    enum class Kind
    {
        PathLookup,  // whether a typed path names a file or a folder
        PictureLoad, // the corner picture's file, read and decoded
        SoundDevice  // the alarm's file, opened, played and closed by its device
    };

    using Clock = std::chrono::steady_clock;

    class Ticket
    {
    public:
        Ticket(Kind kind, QString path);
        ~Ticket();
        Ticket(const Ticket &) = delete;
        Ticket &operator=(const Ticket &) = delete;

        Kind kind() const { return m_kind; }
        const QString &path() const { return m_path; }

        // The job counts as stuck from this moment on, until the deadline is cleared or the
        // ticket goes.
        void setDeadline(Clock::time_point deadline);
        // The earlier of the two.
        void tightenDeadline(Clock::time_point deadline);
        void clearDeadline();
        bool isStuck(Clock::time_point now) const;

    private:
        const Kind m_kind;
        const QString m_path;
        std::atomic<Clock::rep> m_deadline;
    };

    // A ticket for new work, or nothing while an earlier job of that kind on that path is
    // stuck. The caller hands it to the thread that does the work, which drops it at its end.
    static std::shared_ptr<Ticket> enter(Kind kind, const QString &path);
    static bool isStuck(Kind kind, const QString &path);
};
