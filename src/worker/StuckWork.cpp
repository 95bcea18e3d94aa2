// SPDX-License-Identifier: GPL-3.0-or-later
#include "StuckWork.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <vector>

namespace {

constexpr StuckWork::Clock::rep noDeadline = std::numeric_limits<StuckWork::Clock::rep>::max();

struct Registry
{
    std::mutex mutex;
    std::vector<const StuckWork::Ticket *> tickets;
};

// Never destroyed: threads left hanging may drop their tickets during or after exit.
Registry &registry()
{
    static Registry *const instance = new Registry;
    return *instance;
}

bool anyStuck(const Registry &r, StuckWork::Kind kind, const QString &path)
{
    const auto now = StuckWork::Clock::now();
    return std::any_of(r.tickets.begin(), r.tickets.end(), [&](const StuckWork::Ticket *t) {
        return t->kind() == kind && t->path() == path && t->isStuck(now);
    });
}

} // namespace

StuckWork::Ticket::Ticket(Kind kind, QString path)
    : m_kind(kind)
    , m_path(std::move(path))
    , m_deadline(noDeadline)
{}

StuckWork::Ticket::~Ticket()
{
    Registry &r = registry();
    const std::lock_guard lock(r.mutex);
    std::erase(r.tickets, this);
}

void StuckWork::Ticket::setDeadline(Clock::time_point deadline)
{
    m_deadline.store(deadline.time_since_epoch().count());
}

void StuckWork::Ticket::tightenDeadline(Clock::time_point deadline)
{
    const Clock::rep wanted = deadline.time_since_epoch().count();
    Clock::rep current = m_deadline.load();
    while (wanted < current && !m_deadline.compare_exchange_weak(current, wanted)) {
    }
}

void StuckWork::Ticket::clearDeadline()
{
    m_deadline.store(noDeadline);
}

bool StuckWork::Ticket::isStuck(Clock::time_point now) const
{
    const Clock::rep deadline = m_deadline.load();
    return deadline != noDeadline && now.time_since_epoch().count() >= deadline;
}

std::shared_ptr<StuckWork::Ticket> StuckWork::enter(Kind kind, const QString &path)
{
    Registry &r = registry();
    const std::lock_guard lock(r.mutex);
    if (anyStuck(r, kind, path))
        return nullptr;
    auto ticket = std::make_shared<Ticket>(kind, path);
    r.tickets.push_back(ticket.get());
    return ticket;
}

bool StuckWork::isStuck(Kind kind, const QString &path)
{
    Registry &r = registry();
    const std::lock_guard lock(r.mutex);
    return anyStuck(r, kind, path);
}
