// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>

#include <cstdint>

// What the buttons do on the tray icon: a press and the release that pairs with it make
// a click, and the right button's click pops up the menu (on the release, never on the
// press). A second left press soon after the first, close to it, is a double click; its
// release makes no click. A second right press counts as a right double click and does
// nothing.
class TrayClicks
{
public:
    enum class Button
    {
        Left,
        Right,
        Middle
    };

    enum class Action
    {
        None,
        PopupMenu,
        DoubleClick
    };

    // doubleClickMs and doubleClickDistance as the desktop sets them.
    TrayClicks(int doubleClickMs, int doubleClickDistance);

    // timeMs: the press's time stamp; position: where the pointer was, on the screen.
    Action press(Button button, std::int64_t timeMs, QPoint position);
    Action release(Button button);

private:
    static unsigned bit(Button button) { return 1u << unsigned(button); }

    const int m_doubleClickMs;
    const int m_doubleClickDistance;
    unsigned m_pressed = 0;
    bool m_hasLastPress = false;
    Button m_lastButton = Button::Left;
    std::int64_t m_lastTime = 0;
    QPoint m_lastPosition;
};
