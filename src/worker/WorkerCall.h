#pragma once

#include "WorkerAnswer.h"

#include <functional>
#include <thread>

// Runs one job on a thread of its own and waits for its answer as WorkerAnswer does. A job
// still running when the bound passes (a file system call that hangs) is left to finish on
// its thread, which is never joined; whatever it captured lives until then.
namespace WorkerCall {

template<class R>
std::optional<R> run(std::function<R()> job, std::chrono::milliseconds bound)
{
    auto answer = WorkerAnswer<R>::create();
    std::thread([answer, job = std::move(job)] {
        try {
            answer->set(job());
        } catch (...) {
            answer->fail(std::current_exception());
        }
    }).detach();
    return answer->wait(bound);
}

} // namespace WorkerCall
