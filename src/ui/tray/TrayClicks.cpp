// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrayClicks.h"

#include <cstdlib>

TrayClicks::TrayClicks(int doubleClickMs, int doubleClickDistance)
    : m_doubleClickMs(doubleClickMs)
    , m_doubleClickDistance(doubleClickDistance)
{}

TrayClicks::Action TrayClicks::press(Button button, std::int64_t timeMs, QPoint position)
{
    const bool isDouble = m_hasLastPress && button == m_lastButton &&
                          timeMs - m_lastTime >= 0 && timeMs - m_lastTime <= m_doubleClickMs &&
                          std::abs(position.x() - m_lastPosition.x()) <= m_doubleClickDistance &&
                          std::abs(position.y() - m_lastPosition.y()) <= m_doubleClickDistance;
    if (isDouble) {
        // The next press starts afresh: a third press is a single one again.
        m_hasLastPress = false;
        return button == Button::Left ? Action::DoubleClick : Action::None;
    }
    m_hasLastPress = true;
    m_lastButton = button;
    m_lastTime = timeMs;
    m_lastPosition = position;
    if (button != Button::Middle)
        m_pressed |= bit(button);
    return Action::None;
}

TrayClicks::Action TrayClicks::release(Button button)
{
    if (!(m_pressed & bit(button)))
        return Action::None;
    m_pressed &= ~bit(button);
    return button == Button::Right ? Action::PopupMenu : Action::None;
}
