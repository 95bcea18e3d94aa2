// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpinFieldRules.h"

#include "NumberTexts.h"

#include <algorithm>
#include <cmath>

namespace SpinFieldRules {

std::optional<double> readNumber(QStringView text)
{
    return NumberTexts::decimalNumber(text, NumberTexts::localeDecimalSeparator());
}

double clampToRange(double number, int maximum)
{
    const double top = std::max(maximum, minimum);
    if (std::isnan(number) || number < minimum)
        return minimum;
    return std::min(number, top);
}

QString wholeNumberText(double clampedNumber)
{
    const std::int32_t whole = NumberTexts::roundHalfEvenClamped(clampedNumber);
    // A rounded -0.4 would otherwise show a sign for zero.
    return QString::number(whole == 0 ? 0 : whole);
}

int caretAfterRewrite(int caret, int oldLength, int newLength)
{
    if (newLength > oldLength)
        ++caret;
    else if (newLength < oldLength)
        --caret;
    return std::clamp(caret, 0, newLength);
}

TypedKey classifyTyped(QStringView typed, bool controlKey, QStringView text, int selectionStart,
                       int selectionLength)
{
    if (typed == u"\r" || typed == u"\n")
        return TypedKey::MoveFocus;
    if (typed.size() == 1) {
        const char16_t c = typed.front().unicode();
        if (c >= u'0' && c <= u'9')
            return TypedKey::Insert;
        if (c == u'+' || c == u'-') {
            const bool caretAtStart = selectionStart == 0;
            const bool hasSign = text.contains(u'+') || text.contains(u'-');
            const bool wholeSelected = selectionLength > 0 && selectionLength == text.size();
            return (caretAtStart && !hasSign) || wholeSelected ? TypedKey::Insert
                                                               : TypedKey::Reject;
        }
    }
    if (controlKey || typed.isEmpty())
        return TypedKey::PassOn;
    if (typed.size() == 1 && (typed.front().unicode() < 0x20 || typed.front().unicode() == 0x7F))
        return TypedKey::PassOn;
    return TypedKey::Reject;
}

} // namespace SpinFieldRules
