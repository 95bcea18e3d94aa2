// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

// The number texts shared by the counters, the settings file and the display.
namespace NumberTexts {

// The scanner behind both integer conversions; empty when the text is not an integer.
std::optional<std::int32_t> scanInteger(QStringView text);

// Strict form: throws EConvertError("'%s' is not a valid integer value").
std::int32_t integerFromText(const QString &text);

// Never fails: gives defaultValue when the text is not an integer.
std::int32_t integerFromText(QStringView text, std::int32_t defaultValue);

QString integerToText(std::int32_t value);

// The "%0.2d" field of the display: at least two digits, sign before the padding.
QString twoDigitText(std::int32_t value);

// The decimal number of the spin fields and of boolean texts: optional blanks, an optional
// sign, digits with an optional fraction after the separator (at least one digit or the
// separator), an optional exponent (E or e, optional sign, digits), optional blanks.
std::optional<double> decimalNumber(QStringView text, QChar decimalSeparator);

// The decimal separator of the user's locale.
QChar localeDecimalSeparator();

// Rounds to the nearest integer, an exact half to the even neighbour, clamped to 32 bits
// (NaN gives 0) so that no huge text reaches undefined behaviour.
std::int32_t roundHalfEvenClamped(double value);

} // namespace NumberTexts
