// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The rules of the spin fields that need no widget: reading the text as a number,
// writing a clamped number back, the caret after a rewrite and the typed-character filter.
namespace SpinFieldRules {

constexpr int minimum = 0;

// The text read as a decimal number; empty when it is no number (the caller decides
// what an empty text means).
std::optional<double> readNumber(QStringView text);

// The number kept inside [minimum, maximum]; infinities land on the limits.
double clampToRange(double number, int maximum);

// A clamped number written as a whole number: no leading zeros, no sign for zero,
// no separators. Halves go to the even neighbour, as for the integer value.
QString wholeNumberText(double clampedNumber);

// Where the caret goes after the text was rewritten with nothing selected.
int caretAfterRewrite(int caret, int oldLength, int newLength);

enum class TypedKey
{
    MoveFocus, // Enter: go to the next (or previous) control
    Insert,    // an accepted character
    PassOn,    // control characters and shortcuts, handled by the text as usual
    Reject,    // not inserted; beeps
};

// What a typed character does. controlKey is true for control characters and for
// shortcuts (copy, cut, paste); selectionStart/selectionLength describe the selection
// or, with a length of 0, the caret.
TypedKey classifyTyped(QStringView typed, bool controlKey, QStringView text, int selectionStart,
                       int selectionLength);

} // namespace SpinFieldRules
