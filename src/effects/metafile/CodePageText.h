// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Text in a font's character set, as the 8-bit text records carry it.
namespace CodePageText {

// The name iconv knows the character set by. The default set is this
// program's own code page, 936 (read as GB18030, which contains it).
const char *encodingFor(int charSet);

// Decodes bytes of the given font character set; bytes that do not decode
// become U+FFFD. bytesPerUnit, when given, receives for each UTF-16 unit the
// number of bytes it came from (0 for the second half of a surrogate pair),
// so that per-byte spacing can be given to the characters.
QString decode(const QByteArray &bytes, int charSet, QList<int> *bytesPerUnit = nullptr);

// Spacing given per byte turned into spacing per code unit: each character
// advances by the sum of its bytes' values.
QList<double> spacingPerUnit(const QList<double> &perByte, const QList<int> &bytesPerUnit);

} // namespace CodePageText
