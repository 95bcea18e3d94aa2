// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>

// The answer a worker thread owes the user-interface thread. The worker sets it once; the
// user-interface thread waits for it with its event loop running (painting and timers go
// on; input waits until the answer is in), but never longer than the bound it gives. An
// answer that comes too late is kept by the shared state alone and dropped with it.
template<class R>
class WorkerAnswer : public std::enable_shared_from_this<WorkerAnswer<R>>
{
public:
    static std::shared_ptr<WorkerAnswer> create() { return std::make_shared<WorkerAnswer>(); }

    // Any thread, once.
    void set(R value)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_value = std::move(value);
            m_done = true;
        }
        wake();
    }
    void fail(std::exception_ptr error)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_error = std::move(error);
            m_done = true;
        }
        wake();
    }

    bool isDone() const
    {
        const std::lock_guard lock(m_mutex);
        return m_done;
    }

    // User-interface thread: the answer, or nothing when it did not come within bound. A job
    // that threw rethrows here.
    std::optional<R> wait(std::chrono::milliseconds bound)
    {
        if (!isDone() && QCoreApplication::instance()) {
            QEventLoop loop;
            m_loop = &loop;
            QTimer::singleShot(bound, &loop, &QEventLoop::quit);
            loop.exec(QEventLoop::ExcludeUserInputEvents);
            m_loop = nullptr;
        }
        const std::lock_guard lock(m_mutex);
        if (!m_done)
            return std::nullopt;
        if (m_error)
            std::rethrow_exception(m_error);
        return m_value;
    }

private:
    void wake()
    {
        // The loop pointer belongs to the user-interface thread: it is only looked at there.
        QCoreApplication *app = QCoreApplication::instance();
        if (!app)
            return;
        QMetaObject::invokeMethod(
            app,
            [self = this->shared_from_this()] {
                if (self->m_loop)
                    self->m_loop->quit();
            },
            Qt::QueuedConnection);
    }

    mutable std::mutex m_mutex;
    bool m_done = false;
    std::optional<R> m_value;
    std::exception_ptr m_error;
    QEventLoop *m_loop = nullptr;
};
