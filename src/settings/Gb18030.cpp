// SPDX-License-Identifier: GPL-3.0-or-later
#include "Gb18030.h"

#include <QSysInfo>

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace Gb18030 {

namespace {

constexpr const char *utf16Name()
{
    return QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";
}

// One conversion descriptor per call: the helpers are stateless and cheap next to file access.
struct IconvCloser
{
    void operator()(iconv_t cd) const { iconv_close(cd); }
};
using Converter = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

Converter openConverter(const char *to, const char *from)
{
    const iconv_t cd = iconv_open(to, from);
    return Converter(cd == reinterpret_cast<iconv_t>(-1) ? nullptr : cd);
}

constexpr unsigned char euroByte = 0x80;

} // namespace

QString decode(QByteArrayView bytes)
{
    QString result;
    if (bytes.isEmpty())
        return result;
    const Converter cd = openConverter(utf16Name(), "GB18030");
    if (!cd)
        return QString::fromLatin1(bytes.data(), bytes.size());

    result.resize(bytes.size() + 1); // never more UTF-16 units than bytes
    char *in = const_cast<char *>(bytes.data());
    std::size_t inLeft = std::size_t(bytes.size());
    char *const outStart = reinterpret_cast<char *>(result.data());
    char *out = outStart;
    std::size_t outLeft = std::size_t(result.size()) * sizeof(char16_t);

    const auto put = [&](char16_t unit) {
        *reinterpret_cast<char16_t *>(out) = unit;
        out += sizeof(char16_t);
        outLeft -= sizeof(char16_t);
    };

    while (inLeft > 0) {
        if (iconv(cd.get(), &in, &inLeft, &out, &outLeft) != std::size_t(-1))
            break;
        if (errno == E2BIG) {
            const std::ptrdiff_t used = out - outStart;
            result.resize(result.size() * 2);
            out = reinterpret_cast<char *>(result.data()) + used;
            outLeft = std::size_t(result.size()) * sizeof(char16_t) - std::size_t(used);
            continue;
        }
        // EILSEQ or EINVAL (a character cut off at the end): skip one byte.
        if (outLeft < sizeof(char16_t)) {
            const std::ptrdiff_t used = out - outStart;
            result.resize(result.size() + 16);
            out = reinterpret_cast<char *>(result.data()) + used;
            outLeft = std::size_t(result.size()) * sizeof(char16_t) - std::size_t(used);
        }
        put(static_cast<unsigned char>(*in) == euroByte ? u'\u20AC' : u'\uFFFD');
        ++in;
        --inLeft;
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }
    result.resize((out - reinterpret_cast<char *>(result.data())) / qsizetype(sizeof(char16_t)));
    return result;
}

std::optional<QByteArray> encode(QStringView text)
{
    QByteArray result;
    if (text.isEmpty())
        return result;
    const Converter cd = openConverter("GB18030", utf16Name());
    if (!cd)
        return std::nullopt;

    result.resize(text.size() * 4); // at most four bytes per UTF-16 unit
    char *in = reinterpret_cast<char *>(const_cast<QChar *>(text.data()));
    std::size_t inLeft = std::size_t(text.size()) * sizeof(char16_t);
    char *out = result.data();
    std::size_t outLeft = std::size_t(result.size());
    if (iconv(cd.get(), &in, &inLeft, &out, &outLeft) == std::size_t(-1))
        return std::nullopt;
    if (iconv(cd.get(), nullptr, nullptr, &out, &outLeft) == std::size_t(-1))
        return std::nullopt;
    result.resize(out - result.data());
    return result;
}

qsizetype characterLength(QByteArrayView bytes, qsizetype at)
{
    const auto byteAt = [&](qsizetype i) {
        return static_cast<unsigned char>(bytes[i]);
    };
    const unsigned char lead = byteAt(at);
    if (lead < 0x81 || lead > 0xFE || at + 1 >= bytes.size())
        return 1;
    const unsigned char second = byteAt(at + 1);
    if (second >= 0x30 && second <= 0x39) {
        const bool fourBytes = at + 3 < bytes.size() && byteAt(at + 2) >= 0x81 &&
                               byteAt(at + 2) <= 0xFE && byteAt(at + 3) >= 0x30 &&
                               byteAt(at + 3) <= 0x39;
        return fourBytes ? 4 : 1;
    }
    return (second >= 0x40 && second != 0x7F && second != 0xFF) ? 2 : 1;
}

qsizetype characterPrefixLength(QByteArrayView bytes, qsizetype maxBytes)
{
    if (bytes.size() <= maxBytes)
        return bytes.size();
    qsizetype i = 0;
    while (i < bytes.size()) {
        const qsizetype length = characterLength(bytes, i);
        if (i + length > maxBytes)
            break;
        i += length;
    }
    return i;
}

} // namespace Gb18030
