#pragma once

#include <QByteArray>
#include <QString>

// Text in a font's character set, as the 8-bit text records carry it.
namespace CodePageText {

// The name iconv knows the character set by. The default set is this
// program's own code page, 936 (read as GB18030, which contains it).
const char *encodingFor(int charSet);

// Decodes bytes of the given font character set; bytes that do not decode
// become U+FFFD.
QString decode(const QByteArray &bytes, int charSet);

} // namespace CodePageText
