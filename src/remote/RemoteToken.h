// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QRandomGenerator>

#include <array>

// The control token: 128 bits from the system's generator as 32 hex digits, and its
// comparison in time that does not depend on where the texts differ. Inline: the window
// makes the tokens and the network module compares them, and the two share no library.
namespace RemoteToken {

inline QByteArray generate()
{
    std::array<quint32, 4> words{};
    QRandomGenerator::system()->fillRange(words.data(), qsizetype(words.size()));
    return QByteArray(reinterpret_cast<const char *>(words.data()), sizeof(words)).toHex();
}

inline bool equals(QByteArrayView expected, QByteArrayView given)
{
    // Every byte of the given text is looked at, whatever its length, so neither the length
    // nor the first differing byte shows in the time taken.
    unsigned difference = expected.size() == given.size() ? 0U : 1U;
    if (expected.isEmpty())
        return false;
    for (qsizetype i = 0; i < given.size(); ++i)
        difference |= unsigned(quint8(given[i]) ^ quint8(expected[i % expected.size()]));
    return difference == 0;
}

} // namespace RemoteToken
