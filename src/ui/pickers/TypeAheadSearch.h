// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// Finds a list entry from characters typed in quick succession: a pause of more than
// resetAfterMs starts a new search text. Times are passed in, so any clock will do.
class TypeAheadSearch
{
public:
    static constexpr std::int64_t resetAfterMs = 499;

    // Adds c to the search text and gives the first entry that begins with it, compared
    // without regard to case; -1 when none does.
    int type(QChar c, std::int64_t nowMs, const QStringList &entries);

    // Removes the last character of the search text.
    void backspace(std::int64_t nowMs);

    QString text() const { return m_text; }

private:
    void resetWhenPaused(std::int64_t nowMs);

    QString m_text;
    std::optional<std::int64_t> m_lastTypedMs;
};
