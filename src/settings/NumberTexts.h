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

} // namespace NumberTexts
