// SPDX-License-Identifier: GPL-3.0-or-later
#include "RemoteToken.h"

#include <QRandomGenerator>

#include <array>

namespace RemoteToken {

QByteArray generate()
{
    std::array<quint32, 4> words{};
    QRandomGenerator::system()->fillRange(words.data(), qsizetype(words.size()));
    return QByteArray(reinterpret_cast<const char *>(words.data()), sizeof(words)).toHex();
}

bool equals(QByteArrayView expected, QByteArrayView given)
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
