// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file text: reading any bytes never crashes, sees at most 2047 bytes of a
// value, and a write changes only the key written.
#include "FuzzCheck.h"
#include "Gb18030.h"
#include "IniFile.h"

#include <cstddef>
#include <cstdint>

namespace {

const QString section = QStringLiteral("SET");
const QString keys[] = {QStringLiteral("shi"), QStringLiteral("mp3"), QStringLiteral("设置")};

std::optional<QString> expectedReadBack(const QString &written)
{
    QString value = written;
    const auto blank = [](QChar c) {
        return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\r';
    };
    while (!value.isEmpty() && blank(value.front()))
        value.remove(0, 1);
    while (!value.isEmpty() && blank(value.back()))
        value.chop(1);
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front()) {
        value = value.sliced(1, value.size() - 2);
    }
    const auto bytes = Gb18030::encode(value);
    if (!bytes)
        return std::nullopt;
    return Gb18030::decode(bytes->first(Gb18030::characterPrefixLength(*bytes, 2047)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView text(reinterpret_cast<const char *>(data), qsizetype(size));
    std::optional<QString> before[std::size(keys)];
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        before[i] = IniFile::valueIn(text, section, keys[i]);
        if (before[i]) {
            const auto bytes = Gb18030::encode(*before[i]);
            fuzzCheck(!bytes || bytes->size() <= IniFile::maxValueBytes, "at most 2047 bytes");
        }
    }

    // Write the first key with a value taken from the input's tail; the others stay.
    const QString value = Gb18030::decode(text.last(qMin<qsizetype>(text.size(), 40)));
    const auto after = IniFile::withValue(text, section, keys[0], value);
    if (!after) {
        fuzzCheck(value.contains(u'\n') || value.contains(u'\r'), "only line breaks refused");
        return 0;
    }
    fuzzCheck(IniFile::valueIn(*after, section, keys[0]) == expectedReadBack(value),
              "the value written reads back");
    for (std::size_t i = 1; i < std::size(keys); ++i)
        fuzzCheck(IniFile::valueIn(*after, section, keys[i]) == before[i], "other keys unchanged");
    return 0;
}
