// SPDX-License-Identifier: GPL-3.0-or-later
// Text to boolean: never crashes, raises only the boolean message, and the written text of
// a boolean reads back as the same boolean.
#include "EConvertError.h"
#include "FuzzCheck.h"
#include "ValueEncodings.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const bool value = ValueEncodings::textToBool(text);
        fuzzCheck(ValueEncodings::textToBool(ValueEncodings::boolToText(value)) == value,
                  "boolean text reads back");
    } catch (const EConvertError &error) {
        fuzzCheck(error.message() ==
                      u'\'' + text + QLatin1StringView("' is not a valid boolean value"),
                  "message names the whole text");
    }
    return 0;
}
