// SPDX-License-Identifier: GPL-3.0-or-later
#include "NumberTexts.h"

#include "EConvertError.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <string>

namespace NumberTexts {

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

bool isDecimalDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// A number whose exponent is beyond the double range: infinity when it is huge, the smallest
// double when it is tiny, so that a tiny number is still not zero. The order of magnitude
// decides, not the exponent's sign alone: a fraction with 400 zeros and e+10 is tiny.
double beyondDoubleRange(std::string_view number)
{
    const auto e = number.find('e');
    const std::string_view mantissa = number.substr(0, e);
    const auto point = std::min(mantissa.find('.'), mantissa.size());
    const auto firstNonZero = mantissa.find_first_of("123456789");
    if (firstNonZero == std::string_view::npos)
        return 0.0;
    std::int64_t order = firstNonZero < point ? std::int64_t(point - firstNonZero) - 1
                                              : -std::int64_t(firstNonZero - point);
    if (e != std::string_view::npos) {
        std::string_view exponent = number.substr(e + 1);
        const bool negativeExponent = !exponent.empty() && exponent.front() == '-';
        if (!exponent.empty() && (exponent.front() == '-' || exponent.front() == '+'))
            exponent.remove_prefix(1);
        std::int64_t magnitude = 0;
        for (const char digit : exponent)
            magnitude = std::min<std::int64_t>(magnitude * 10 + (digit - '0'), 1'000'000'000);
        order += negativeExponent ? -magnitude : magnitude;
    }
    return order >= 0 ? HUGE_VAL : std::numeric_limits<double>::denorm_min();
}

} // namespace

std::optional<std::int32_t> scanInteger(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (n == 0)
        return std::nullopt;
    // Only the space character is skipped; a tab is an ordinary character.
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i >= n)
        return std::nullopt;

    const bool hexPrefix = text[i] == u'$' || text[i] == u'x' || text[i] == u'X';
    const bool zeroXPrefix =
        i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X');
    if (hexPrefix || zeroXPrefix) {
        i += hexPrefix ? 1 : 2;
        if (i >= n)
            return std::nullopt;
        std::uint32_t value = 0;
        for (; i < n; ++i) {
            const int digit = hexDigit(text[i]);
            if (digit < 0 || value > 0x0FFFFFFFu)
                return std::nullopt;
            value = value * 16 + std::uint32_t(digit);
        }
        // The 32 bits are taken as a signed number; a minus sign negates them.
        if (negative)
            value = 0u - value;
        return static_cast<std::int32_t>(value);
    }

    std::int64_t value = 0;
    if (!isDecimalDigit(text[i]))
        return std::nullopt;
    for (; i < n; ++i) {
        if (!isDecimalDigit(text[i]) || value > 214748364)
            return std::nullopt;
        value = value * 10 + (text[i].unicode() - u'0');
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t integerFromText(const QString &text)
{
    if (const auto value = scanInteger(text))
        return *value;
    throw EConvertError::invalidInteger(text);
}

std::int32_t integerFromText(QStringView text, std::int32_t defaultValue)
{
    return scanInteger(text).value_or(defaultValue);
}

QString integerToText(std::int32_t value)
{
    return QString::number(value);
}

QString twoDigitText(std::int32_t value)
{
    const std::int64_t wide = value;
    QString digits = QString::number(wide < 0 ? -wide : wide);
    if (digits.size() < 2)
        digits.prepend(u'0');
    return wide < 0 ? QLatin1Char('-') + digits : digits;
}

std::optional<double> decimalNumber(QStringView text, QChar decimalSeparator)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i] == u' ')
        ++i;
    std::string ascii;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ascii += char(text[i++].unicode());
    bool sawDigit = false;
    bool sawSeparator = false;
    for (; i < n; ++i) {
        if (isDecimalDigit(text[i])) {
            ascii += char(text[i].unicode());
            sawDigit = true;
        } else if (text[i] == decimalSeparator && !sawSeparator) {
            ascii += '.';
            sawSeparator = true;
        } else {
            break;
        }
    }
    if (!sawDigit && !sawSeparator)
        return std::nullopt;
    if (!sawDigit)
        ascii += '0'; // a lone separator reads as zero
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        ascii += 'e';
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            ascii += char(text[i++].unicode());
        const qsizetype firstExponentDigit = i;
        for (; i < n && isDecimalDigit(text[i]); ++i)
            ascii += char(text[i].unicode());
        if (i == firstExponentDigit)
            return std::nullopt;
    }
    while (i < n && text[i] == u' ')
        ++i;
    if (i != n)
        return std::nullopt;
    // from_chars ignores the process locale; it takes no plus sign.
    const bool negative = ascii.front() == '-';
    const std::size_t skip = (ascii.front() == '-' || ascii.front() == '+') ? 1 : 0;
    double value = 0;
    const auto result = std::from_chars(ascii.data() + skip, ascii.data() + ascii.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = beyondDoubleRange(ascii.substr(skip));
    return negative ? -value : value;
}

QChar localeDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? QChar(u'.') : point.front();
}

std::int32_t roundHalfEvenClamped(double value)
{
    if (std::isnan(value))
        return 0;
    const double rounded = std::nearbyint(value); // default rounding mode: half to even
    if (rounded >= 2147483647.0)
        return INT32_MAX;
    if (rounded <= -2147483648.0)
        return INT32_MIN;
    return static_cast<std::int32_t>(rounded);
}

} // namespace NumberTexts
