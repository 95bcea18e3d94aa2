// SPDX-License-Identifier: GPL-3.0-or-later
#include "SoundSession.h"

#include "SoundDevice.h"
#include "SoundModule.h"

#include <QCoreApplication>

#include <thread>

#ifdef __GLIBC__
#include <malloc.h>
#endif

std::shared_ptr<SoundSession> SoundSession::start(const QString &path,
                                                  const QByteArray &audioSink,
                                                  std::function<void(NotifyValue)> onNotify)
{
    std::shared_ptr<StuckWork::Ticket> ticket = StuckWork::enter(StuckWork::Kind::SoundDevice, path);
    if (!ticket)
        return nullptr;
    std::shared_ptr<SoundSession> session(
        new SoundSession(std::move(ticket), audioSink, std::move(onNotify)));
    std::thread([session] { session->run(); }).detach();
    return session;
}

SoundSession::SoundSession(std::shared_ptr<StuckWork::Ticket> ticket, const QByteArray &audioSink,
                           std::function<void(NotifyValue)> onNotify)
    : m_ticket(std::move(ticket))
    , m_audioSink(audioSink)
    , m_onNotify(std::move(onNotify))
{}

SoundSession::~SoundSession() = default;

void SoundSession::post(Job job)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_disposed)
            return;
        m_jobs.push_back(std::move(job));
    }
    m_changed.notify_all();
}

void SoundSession::run()
{
    // Created, used and destroyed on this thread only; the first loads the sound module.
    std::unique_ptr<SoundDevice> device = SoundModule::createDevice(m_audioSink);
    std::weak_ptr<SoundSession> weak = weak_from_this();
    device->setBusWake([weak] {
        // From a streaming thread: look at the bus on the session's own thread.
        if (auto session = weak.lock())
            session->post([](SoundDevice &device) { device.processBus(); });
    });
    device->setNotify([this](NotifyValue value) { collectNotice(value); });

    const auto asked = [this] { return !m_jobs.empty() || m_disposed; };
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            // A sound that does not play rests once nothing has been asked for a while:
            // a waiting pipeline would otherwise keep its threads and decoder for nothing.
            if (device->canRest() && !m_changed.wait_for(lock, restDelay, asked)) {
                m_busy = true;
                lock.unlock();
                device->rest();
#ifdef __GLIBC__
                // What the decoder and the ended streaming threads freed stays in the
                // allocator's arenas unless it is handed back.
                malloc_trim(0);
#endif
                lock.lock();
                workDone();
                continue;
            }
            m_changed.wait(lock, asked);
            if (m_jobs.empty())
                break;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
            m_busy = true;
        }
        job(*device);
        {
            const std::lock_guard lock(m_mutex);
            workDone();
        }
    }
    device->close();
    device->setBusWake({});
    device->setNotify({});
    device.reset();
    {
        const std::lock_guard lock(m_mutex);
        m_finished = true;
    }
    m_ticket->clearDeadline();
    m_changed.notify_all();
}

void SoundSession::workDone()
{
    m_busy = false;
    // Answered: a later call need not give up at once.
    m_hanging = false;
    // A disposed session stays marked until its close is done.
    if (!m_disposed)
        m_ticket->clearDeadline();
}

void SoundSession::dispose()
{
    {
        const std::lock_guard lock(m_mutex);
        m_disposed = true;
        // Commands not yet run are pointless now; the close comes next.
        m_jobs.clear();
        if (!m_finished)
            m_ticket->tightenDeadline(StuckWork::Clock::now() + closeBound);
    }
    m_changed.notify_all();
}

bool SoundSession::waitUntilFinished(std::chrono::milliseconds bound)
{
    std::unique_lock lock(m_mutex);
    if (m_hanging)
        return m_finished;
    return m_changed.wait_for(lock, bound, [this] { return m_finished; });
}

bool SoundSession::hangs() const
{
    const std::lock_guard lock(m_mutex);
    return m_hanging && m_busy;
}

void SoundSession::markHanging()
{
    const std::lock_guard lock(m_mutex);
    if (m_busy || !m_jobs.empty()) {
        m_hanging = true;
        m_ticket->tightenDeadline(StuckWork::Clock::now());
    }
}

void SoundSession::collectNotice(NotifyValue value)
{
    {
        const std::lock_guard lock(m_mutex);
        m_notices.push_back(value);
    }
    // A notice of a play that ended by itself: nobody is asking, so wake the other side.
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    std::weak_ptr<SoundSession> weak = weak_from_this();
    QMetaObject::invokeMethod(
        app,
        [weak] {
            if (auto session = weak.lock())
                session->takeNotices();
        },
        Qt::QueuedConnection);
}

void SoundSession::takeNotices()
{
    std::vector<NotifyValue> notices;
    {
        const std::lock_guard lock(m_mutex);
        notices.swap(m_notices);
        if (m_disposed)
            notices.clear(); // a dropped session tells nothing more
    }
    for (const NotifyValue value : notices)
        m_onNotify(value);
}
