// SPDX-License-Identifier: GPL-3.0-or-later
#include "ValueEncodings.h"

#include "EConvertError.h"
#include "NumberTexts.h"

#include <array>

namespace ValueEncodings {

namespace {

using namespace Qt::Literals::StringLiterals;

constexpr std::int32_t colour(std::uint32_t bits)
{
    return static_cast<std::int32_t>(bits);
}

constexpr std::array<ColourEntry, 52> colours = {{
    {"clBlack"_L1, colour(0x00000000)},
    {"clMaroon"_L1, colour(0x00000080)},
    {"clGreen"_L1, colour(0x00008000)},
    {"clOlive"_L1, colour(0x00008080)},
    {"clNavy"_L1, colour(0x00800000)},
    {"clPurple"_L1, colour(0x00800080)},
    {"clTeal"_L1, colour(0x00808000)},
    {"clGray"_L1, colour(0x00808080)},
    {"clSilver"_L1, colour(0x00C0C0C0)},
    {"clRed"_L1, colour(0x000000FF)},
    {"clLime"_L1, colour(0x0000FF00)},
    {"clYellow"_L1, colour(0x0000FFFF)},
    {"clBlue"_L1, colour(0x00FF0000)},
    {"clFuchsia"_L1, colour(0x00FF00FF)},
    {"clAqua"_L1, colour(0x00FFFF00)},
    {"clWhite"_L1, colour(0x00FFFFFF)},
    {"clMoneyGreen"_L1, colour(0x00C0DCC0)},
    {"clSkyBlue"_L1, colour(0x00F0CAA6)},
    {"clCream"_L1, colour(0x00F0FBFF)},
    {"clMedGray"_L1, colour(0x00A4A0A0)},
    {"clActiveBorder"_L1, colour(0xFF00000A)},
    {"clActiveCaption"_L1, colour(0xFF000002)},
    {"clAppWorkSpace"_L1, colour(0xFF00000C)},
    {"clBackground"_L1, colour(0xFF000001)},
    {"clBtnFace"_L1, colour(0xFF00000F)},
    {"clBtnHighlight"_L1, colour(0xFF000014)},
    {"clBtnShadow"_L1, colour(0xFF000010)},
    {"clBtnText"_L1, colour(0xFF000012)},
    {"clCaptionText"_L1, colour(0xFF000009)},
    {"clDefault"_L1, colour(0x20000000)},
    {"clGradientActiveCaption"_L1, colour(0xFF00001B)},
    {"clGradientInactiveCaption"_L1, colour(0xFF00001C)},
    {"clGrayText"_L1, colour(0xFF000011)},
    {"clHighlight"_L1, colour(0xFF00000D)},
    {"clHighlightText"_L1, colour(0xFF00000E)},
    {"clHotLight"_L1, colour(0xFF00001A)},
    {"clInactiveBorder"_L1, colour(0xFF00000B)},
    {"clInactiveCaption"_L1, colour(0xFF000003)},
    {"clInactiveCaptionText"_L1, colour(0xFF000013)},
    {"clInfoBk"_L1, colour(0xFF000018)},
    {"clInfoText"_L1, colour(0xFF000017)},
    {"clMenu"_L1, colour(0xFF000004)},
    {"clMenuBar"_L1, colour(0xFF00001E)},
    {"clMenuHighlight"_L1, colour(0xFF00001D)},
    {"clMenuText"_L1, colour(0xFF000007)},
    {"clNone"_L1, colour(0x1FFFFFFF)},
    {"clScrollBar"_L1, colour(0xFF000000)},
    {"cl3DDkShadow"_L1, colour(0xFF000015)},
    {"cl3DLight"_L1, colour(0xFF000016)},
    {"clWindow"_L1, colour(0xFF000005)},
    {"clWindowFrame"_L1, colour(0xFF000006)},
    {"clWindowText"_L1, colour(0xFF000008)},
}};

char16_t asciiLower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c;
}

// Only A-Z and a-z fold; every other character must be the same.
bool equalIgnoringAsciiCase(QStringView text, QLatin1StringView word)
{
    if (text.size() != word.size())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (asciiLower(text[i].unicode()) != asciiLower(char16_t(uchar(word[i].toLatin1()))))
            return false;
    }
    return true;
}

constexpr std::array trueWords = {"True"_L1};
constexpr std::array falseWords = {"False"_L1};

bool isAnyOf(QStringView text, std::span<const QLatin1StringView> words)
{
    for (const QLatin1StringView word : words) {
        if (equalIgnoringAsciiCase(text, word))
            return true;
    }
    return false;
}

} // namespace

std::span<const ColourEntry> colourTable()
{
    return colours;
}

QString colorToText(std::int32_t value)
{
    for (const ColourEntry &entry : colours) {
        if (entry.value == value)
            return entry.identifier;
    }
    return u'$' +
           QString::number(static_cast<std::uint32_t>(value), 16).rightJustified(8, u'0').toUpper();
}

std::int32_t textToColor(const QString &text)
{
    for (const ColourEntry &entry : colours) {
        if (equalIgnoringAsciiCase(text, entry.identifier))
            return entry.value;
    }
    return NumberTexts::integerFromText(text);
}

QString boolToText(bool value)
{
    return value ? QStringLiteral("-1") : QStringLiteral("0");
}

bool textToBool(const QString &text)
{
    if (const auto number = NumberTexts::decimalNumber(text, NumberTexts::localeDecimalSeparator()))
        return *number != 0.0;
    // The words are plain ASCII, so the locale's case rules reduce to A-Z against a-z.
    if (isAnyOf(text, trueWords))
        return true;
    if (isAnyOf(text, falseWords))
        return false;
    throw EConvertError::invalidBoolean(text);
}

} // namespace ValueEncodings
