// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StuckWork.h"
#include "WorkerAnswer.h"

#include <QCoreApplication>
#include <QPointer>

#include <functional>
#include <thread>

// Runs one job on a path on a thread of its own. A job still running when its bound passes
// (a file system call that hangs) is left to finish on its thread, which is never joined;
// whatever it captured lives until then. While it is so stuck, a job of the same kind on the
// same path is refused at once and gets no thread (StuckWork).
namespace WorkerCall {

// Starts the job; the answer to wait for, or nothing when the job was refused.
template<class R>
std::shared_ptr<WorkerAnswer<R>> start(StuckWork::Kind kind, const QString &path,
                                       std::function<R()> job, std::chrono::milliseconds bound)
{
    std::shared_ptr<StuckWork::Ticket> ticket = StuckWork::enter(kind, path);
    if (!ticket)
        return nullptr;
    ticket->setDeadline(StuckWork::Clock::now() + bound);
    auto answer = WorkerAnswer<R>::create();
    std::thread([answer, ticket = std::move(ticket), job = std::move(job)] {
        std::optional<R> value;
        std::exception_ptr error;
        try {
            value.emplace(job());
        } catch (...) {
            error = std::current_exception();
        }
        // Answered: no longer stuck, even before the thread is gone.
        ticket->clearDeadline();
        if (error)
            answer->fail(error);
        else
            answer->set(std::move(*value));
    }).detach();
    return answer;
}

// Runs the job and waits for its answer as WorkerAnswer does, at most bound; nothing when
// the answer did not come in time or the job was refused.
template<class R>
std::optional<R> run(StuckWork::Kind kind, const QString &path, std::function<R()> job,
                     std::chrono::milliseconds bound)
{
    const auto answer = start(kind, path, std::move(job), bound);
    return answer ? answer->wait(bound) : std::nullopt;
}

// Runs the job without waiting: onAnswer gets its result on the user-interface thread, unless
// context is gone by then; a job that throws gives no answer. False when it was refused.
template<class R>
bool post(StuckWork::Kind kind, const QString &path, std::function<R()> job,
          std::chrono::milliseconds bound, QObject *context, std::function<void(R)> onAnswer)
{
    std::shared_ptr<StuckWork::Ticket> ticket = StuckWork::enter(kind, path);
    if (!ticket)
        return false;
    ticket->setDeadline(StuckWork::Clock::now() + bound);
    // Made here, so that the guard is only ever looked at on this thread.
    std::function<void(R)> deliver = [guard = QPointer<QObject>(context),
                                      onAnswer = std::move(onAnswer)](R value) {
        if (guard)
            onAnswer(std::move(value));
    };
    std::thread([ticket = std::move(ticket), job = std::move(job),
                 deliver = std::move(deliver)]() mutable {
        std::optional<R> value;
        try {
            value.emplace(job());
        } catch (...) {
        }
        ticket->clearDeadline();
        if (!value)
            return;
        if (QCoreApplication *app = QCoreApplication::instance()) {
            QMetaObject::invokeMethod(
                app,
                [deliver = std::move(deliver), value = std::move(*value)]() mutable {
                    deliver(std::move(value));
                },
                Qt::QueuedConnection);
        }
    }).detach();
    return true;
}

} // namespace WorkerCall
