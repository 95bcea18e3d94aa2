// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MediaTypes.h"
#include "StuckWork.h"
#include "WorkerAnswer.h"

#include <QByteArray>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class SoundDevice;

// One sound device on a thread of its own: every GStreamer call, the file's opening and the
// pipeline's closing happen there, never on the user-interface thread. The user-interface
// thread asks with call(), which waits for the answer with its event loop running and gives
// up after a bound. A session whose device hangs (a file system call that never returns) is
// simply dropped: dispose() queues the close and returns, and the thread ends on its own
// once the device lets go; nothing ever joins it. While such a thread hangs on a file, no
// new session for that file starts (StuckWork): retrying leaves no more threads behind.
class SoundSession : public std::enable_shared_from_this<SoundSession>
{
public:
    // How long a sound that does not play waits for a command before it rests (see
    // SoundDevice::rest): long enough that the play that follows an alarm's open finds
    // it ready.
    static constexpr std::chrono::milliseconds restDelay{1000};

    // A session for the sound file path, or nothing while an earlier session's thread hangs
    // on that file. onNotify runs on the user-interface thread for every play or resume that
    // ended. It is called by takeNotices() (after each call) and by a queued wake-up for the
    // ones that end while nothing is asked.
    static std::shared_ptr<SoundSession> start(const QString &path, const QByteArray &audioSink,
                                               std::function<void(NotifyValue)> onNotify);
    ~SoundSession();
    SoundSession(const SoundSession &) = delete;
    SoundSession &operator=(const SoundSession &) = delete;

    // Runs job with the device on the session's thread. Nothing when the answer did not come
    // within bound, or at once when an earlier call is still unanswered (the device hangs).
    template<class R>
    std::optional<R> call(std::function<R(SoundDevice &)> job, std::chrono::milliseconds bound)
    {
        if (hangs())
            return std::nullopt;
        auto answer = WorkerAnswer<R>::create();
        post([answer, job = std::move(job)](SoundDevice &device) {
            try {
                answer->set(job(device));
            } catch (...) {
                answer->fail(std::current_exception());
            }
        });
        std::optional<R> result = answer->wait(bound);
        if (!result)
            markHanging();
        takeNotices();
        return result;
    }

    // Runs job with the device on the session's thread without waiting for it; a later call
    // finds it done. Nothing while an earlier call is still unanswered (the device hangs).
    void send(std::function<void(SoundDevice &)> job)
    {
        if (!hangs())
            post(std::move(job));
    }

    // How long closing a disposed session's device may take before it counts as hanging.
    static constexpr std::chrono::milliseconds closeBound{1000};

    // Closes and frees the device on its thread; returns at once.
    void dispose();
    // Waits up to bound (without an event loop) for a disposed session's thread to finish,
    // but only when nothing hangs in it; true when it has finished.
    bool waitUntilFinished(std::chrono::milliseconds bound);

    // User-interface thread: passes on the notices collected so far.
    void takeNotices();

private:
    SoundSession(std::shared_ptr<StuckWork::Ticket> ticket, const QByteArray &audioSink,
                 std::function<void(NotifyValue)> onNotify);
    using Job = std::function<void(SoundDevice &)>;

    void post(Job job);
    void run();
    bool hangs() const;
    void markHanging();
    // With m_mutex held, after a job or a rest on the session's thread.
    void workDone();
    void collectNotice(NotifyValue value);

    // Marks the session's thread as stuck on its file while a call or the close overruns.
    const std::shared_ptr<StuckWork::Ticket> m_ticket;
    QByteArray m_audioSink;
    std::function<void(NotifyValue)> m_onNotify;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Job> m_jobs;
    bool m_disposed = false;
    bool m_finished = false;
    bool m_busy = false;
    bool m_hanging = false;
    std::vector<NotifyValue> m_notices;
};
