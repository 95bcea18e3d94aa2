// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// The settings file is text in code page 936; GB18030 is its superset that covers every
// character, so any value the program writes reads back unchanged.
namespace Gb18030 {

// Bytes that are not valid GB18030 read as U+FFFD, except the single byte 80 that code
// page 936 uses for the euro sign.
QString decode(QByteArrayView bytes);

// Empty when the text holds something no encoding can store (a lone surrogate).
std::optional<QByteArray> encode(QStringView text);

// The number of bytes of the character that starts at index at (1, 2 or 4; a byte that
// starts no valid character counts as one).
qsizetype characterLength(QByteArrayView bytes, qsizetype at);

// The length of the longest prefix of bytes of at most maxBytes that ends between two
// characters, so that cutting there never splits a character.
qsizetype characterPrefixLength(QByteArrayView bytes, qsizetype maxBytes);

} // namespace Gb18030
