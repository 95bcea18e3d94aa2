// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MonotonicClock.h"

#include <QHash>
#include <QHostAddress>

#include <chrono>

// Counts wrong tokens per address; after RemoteLimits::maxWrongTokens the address is refused
// for RemoteLimits::refusal. A right token does not clear the count, so guessing between
// right uses gains nothing.
class TokenThrottle
{
public:
    explicit TokenThrottle(MonotonicClock clock);

    bool isRefused(const QHostAddress &address);
    void recordWrongToken(const QHostAddress &address);
    // Starts over, as with a new token.
    void clear() { m_entries.clear(); }

private:
    struct Entry
    {
        int wrong = 0;
        std::chrono::nanoseconds refusedUntil{0};
        std::chrono::nanoseconds lastSeen{0};
    };
    void forgetOldEntries(std::chrono::nanoseconds now);

    MonotonicClock m_clock;
    QHash<QHostAddress, Entry> m_entries;
};
