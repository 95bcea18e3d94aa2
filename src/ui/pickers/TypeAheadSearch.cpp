// SPDX-License-Identifier: GPL-3.0-or-later
#include "TypeAheadSearch.h"

int TypeAheadSearch::type(QChar c, std::int64_t nowMs, const QStringList &entries)
{
    resetWhenPaused(nowMs);
    m_text.append(c);
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i).startsWith(m_text, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

void TypeAheadSearch::backspace(std::int64_t nowMs)
{
    resetWhenPaused(nowMs);
    m_text.chop(1);
}

void TypeAheadSearch::resetWhenPaused(std::int64_t nowMs)
{
    if (m_lastTypedMs && nowMs - *m_lastTypedMs > resetAfterMs)
        m_text.clear();
    m_lastTypedMs = nowMs;
}
