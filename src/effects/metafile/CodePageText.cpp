// SPDX-License-Identifier: GPL-3.0-or-later
#include "CodePageText.h"

#include <iconv.h>

#include <cerrno>

namespace CodePageText {

const char *encodingFor(int charSet)
{
    switch (charSet) {
    case 0:
        return "CP1252";
    case 2: // symbol fonts: the bytes are the glyph numbers
        return "ISO-8859-1";
    case 77:
        return "MACINTOSH";
    case 128:
        return "CP932";
    case 129:
        return "CP949";
    case 130:
        return "JOHAB";
    case 136:
        return "BIG5";
    case 161:
        return "CP1253";
    case 162:
        return "CP1254";
    case 163:
        return "CP1258";
    case 177:
        return "CP1255";
    case 178:
        return "CP1256";
    case 186:
        return "CP1257";
    case 204:
        return "CP1251";
    case 222:
        return "TIS-620";
    case 238:
        return "CP1250";
    case 255:
        return "CP437";
    default: // 1 (default), 134 (GB2312) and anything unknown
        return "GB18030";
    }
}

QString decode(const QByteArray &bytes, int charSet, QList<int> *bytesPerUnit)
{
    if (bytesPerUnit)
        bytesPerUnit->clear();
    if (bytes.isEmpty())
        return {};
    iconv_t cd = iconv_open("UTF-16LE", encodingFor(charSet));
    if (cd == iconv_t(-1)) {
        if (bytesPerUnit)
            bytesPerUnit->fill(1, bytes.size());
        return QString::fromLatin1(bytes);
    }

    // One character at a time: an output room of one unit takes exactly one
    // character from the basic plane; two units take one from beyond it.
    QString result;
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    while (inLeft > 0) {
        char16_t units[2] = {0, 0};
        const size_t inBefore = inLeft;
        size_t produced = 0;
        for (size_t room : {size_t(2), size_t(4)}) {
            char *out = reinterpret_cast<char *>(units);
            size_t outLeft = room;
            const size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
            produced = (room - outLeft) / 2;
            if (produced > 0 || rc != size_t(-1) || errno != E2BIG)
                break;
        }
        if (produced == 0) {
            // An invalid or cut-off sequence: replace one byte and go on.
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            in = const_cast<char *>(bytes.constData()) + (bytes.size() - qsizetype(inBefore)) + 1;
            inLeft = inBefore - 1;
            result += QChar(QChar::ReplacementCharacter);
            if (bytesPerUnit)
                bytesPerUnit->append(1);
            continue;
        }
        for (size_t i = 0; i < produced; ++i) {
            result += QChar(units[i]);
            if (bytesPerUnit)
                bytesPerUnit->append(i == 0 ? int(inBefore - inLeft) : 0);
        }
    }
    iconv_close(cd);
    return result;
}

QList<double> spacingPerUnit(const QList<double> &perByte, const QList<int> &bytesPerUnit)
{
    QList<double> result;
    result.reserve(bytesPerUnit.size());
    qsizetype at = 0;
    for (int count : bytesPerUnit) {
        double sum = 0;
        for (int i = 0; i < count && at < perByte.size(); ++i, ++at)
            sum += perByte[at];
        result.append(sum);
    }
    return result;
}

} // namespace CodePageText
