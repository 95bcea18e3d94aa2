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

QString decode(const QByteArray &bytes, int charSet)
{
    if (bytes.isEmpty())
        return {};
    iconv_t cd = iconv_open("UTF-16LE", encodingFor(charSet));
    if (cd == iconv_t(-1))
        return QString::fromLatin1(bytes);

    QString result;
    QByteArray out(bytes.size() * 4 + 16, Qt::Uninitialized);
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    while (inLeft > 0) {
        char *outPtr = out.data();
        size_t outLeft = size_t(out.size());
        const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        const qsizetype produced = out.size() - qsizetype(outLeft);
        result +=
            QString::fromUtf16(reinterpret_cast<const char16_t *>(out.constData()), produced / 2);
        if (rc != size_t(-1))
            break;
        if (errno == E2BIG)
            continue;
        // An invalid or cut-off sequence: replace one byte and go on.
        result += QChar(QChar::ReplacementCharacter);
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return result;
}

} // namespace CodePageText
