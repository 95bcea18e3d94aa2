// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShortcutValue.h"

namespace ShortcutValue {

int virtualKey(int qtKey)
{
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return f1 + (qtKey - Qt::Key_F1);
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey; // the same codes as the letters and digits themselves
    switch (qtKey) {
    case Qt::Key_Backspace:
        return 0x08;
    case Qt::Key_Tab:
        return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 0x0D;
    case Qt::Key_Escape:
        return 0x1B;
    case Qt::Key_Space:
        return 0x20;
    case Qt::Key_PageUp:
        return 0x21;
    case Qt::Key_PageDown:
        return 0x22;
    case Qt::Key_End:
        return 0x23;
    case Qt::Key_Home:
        return 0x24;
    case Qt::Key_Left:
        return 0x25;
    case Qt::Key_Up:
        return 0x26;
    case Qt::Key_Right:
        return 0x27;
    case Qt::Key_Down:
        return 0x28;
    case Qt::Key_Insert:
        return 0x2D;
    case Qt::Key_Delete:
        return 0x2E;
    default:
        return 0;
    }
}

int fromKeyPress(int qtKey, Qt::KeyboardModifiers modifiers)
{
    const int key = virtualKey(qtKey);
    if (key == 0)
        return 0;
    int value = key;
    if (modifiers & Qt::ShiftModifier)
        value |= shift;
    if (modifiers & Qt::ControlModifier)
        value |= ctrl;
    if (modifiers & Qt::AltModifier)
        value |= alt;
    return value;
}

QString text(int value)
{
    const int key = value & 0xFF;
    if (key == 0)
        return {};
    QString result;
    if (value & shift)
        result += QLatin1String("Shift+");
    if (value & ctrl)
        result += QLatin1String("Ctrl+");
    if (value & alt)
        result += QLatin1String("Alt+");
    if (key >= f1 && key < f1 + 24)
        return result + QLatin1Char('F') + QString::number(key - f1 + 1);
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return result + QLatin1Char(char(key));
    return result + QLatin1String("#") + QString::number(key);
}

} // namespace ShortcutValue
