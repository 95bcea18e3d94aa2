// SPDX-License-Identifier: GPL-3.0-or-later
// Text to colour: never crashes, raises only the integer message, and a colour's text
// reads back as the same colour.
#include "EConvertError.h"
#include "FuzzCheck.h"
#include "ValueEncodings.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const std::int32_t colour = ValueEncodings::textToColor(text);
        const QString written = ValueEncodings::colorToText(colour);
        fuzzCheck(ValueEncodings::textToColor(written) == colour, "colour text reads back");
        fuzzCheck(written.startsWith(u"cl") || written.size() == 9, "identifier or $ and 8 digits");
    } catch (const EConvertError &error) {
        fuzzCheck(error.message() ==
                      u'\'' + text + QLatin1StringView("' is not a valid integer value"),
                  "message names the whole text");
    }
    return 0;
}
