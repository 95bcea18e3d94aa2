// SPDX-License-Identifier: GPL-3.0-or-later
// Integer from text: both forms agree, never crash, and every result prints back to itself.
#include "EConvertError.h"
#include "FuzzCheck.h"
#include "NumberTexts.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto scanned = NumberTexts::scanInteger(text);
    fuzzCheck(NumberTexts::integerFromText(text, 12345) == scanned.value_or(12345),
              "default form follows the scanner");
    try {
        const std::int32_t value = NumberTexts::integerFromText(text);
        fuzzCheck(scanned && *scanned == value, "strict form follows the scanner");
        fuzzCheck(NumberTexts::integerFromText(NumberTexts::integerToText(value)) == value,
                  "integer to text reads back");
        const QString twoDigits = NumberTexts::twoDigitText(value);
        fuzzCheck(twoDigits.size() >= 2 && NumberTexts::integerFromText(twoDigits) == value,
                  "two-digit text reads back");
    } catch (const EConvertError &error) {
        fuzzCheck(!scanned, "strict form raises only when the scanner fails");
        fuzzCheck(error.message() ==
                      u'\'' + text + QLatin1StringView("' is not a valid integer value"),
                  "message names the whole text");
    }
    return 0;
}
