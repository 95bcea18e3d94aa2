// SPDX-License-Identifier: GPL-3.0-or-later
#include "TokenThrottle.h"

#include "RemoteLimits.h"

namespace {

// The table never grows past this many addresses; the oldest quiet ones go first.
constexpr qsizetype maxEntries = 4096;

} // namespace

TokenThrottle::TokenThrottle(MonotonicClock clock)
    : m_clock(std::move(clock))
{}

bool TokenThrottle::isRefused(const QHostAddress &address)
{
    const auto it = m_entries.find(address);
    if (it == m_entries.end())
        return false;
    const auto now = m_clock();
    if (it->wrong < RemoteLimits::maxWrongTokens)
        return false;
    if (now < it->refusedUntil)
        return true;
    m_entries.erase(it); // the refusal is over: a fresh count
    return false;
}

void TokenThrottle::recordWrongToken(const QHostAddress &address)
{
    const auto now = m_clock();
    if (m_entries.size() >= maxEntries && !m_entries.contains(address))
        forgetOldEntries(now);
    Entry &entry = m_entries[address];
    entry.lastSeen = now;
    if (++entry.wrong == RemoteLimits::maxWrongTokens)
        entry.refusedUntil = now + RemoteLimits::refusal;
}

void TokenThrottle::forgetOldEntries(std::chrono::nanoseconds now)
{
    // Entries not refused and quiet for a refusal's length first; if that frees nothing,
    // the table is full of refused addresses and the newcomer replaces none of them.
    m_entries.removeIf([now](const auto &item) {
        const Entry &e = item.value();
        return now >= e.refusedUntil && now - e.lastSeen >= RemoteLimits::refusal;
    });
    if (m_entries.size() >= maxEntries)
        m_entries.removeIf([now](const auto &item) { return now >= item.value().refusedUntil; });
}
