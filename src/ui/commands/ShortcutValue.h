// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <Qt>

// A key as the commands store it: the virtual key code in the low byte, plus
// 0x2000 for Shift, 0x4000 for Ctrl and 0x8000 for Alt. Zero means no key.
namespace ShortcutValue {

inline constexpr int shift = 0x2000;
inline constexpr int ctrl = 0x4000;
inline constexpr int alt = 0x8000;

inline constexpr int f1 = 112;
inline constexpr int fKey(int number)
{
    return f1 + number - 1;
}

// The virtual key code of a Qt key, 0 when it has none.
int virtualKey(int qtKey);

// The value of a key press; 0 when the key has no virtual key code.
int fromKeyPress(int qtKey, Qt::KeyboardModifiers modifiers);

// The key's name as menus show it ("F11", "Shift+F4"); empty for 0.
QString text(int value);

} // namespace ShortcutValue
