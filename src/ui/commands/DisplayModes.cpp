// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisplayModes.h"

#include "DesktopPlatform.h"
#include "WindowFocus.h"

#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// How long a window back from the tray waits to be shown before it goes full screen anyway.
constexpr int compositorTimeout = 3000; // milliseconds

} // namespace

DisplayModes::DisplayModes(QWidget *window)
    : QObject(window)
    , m_window(window)
{}

void DisplayModes::showFullScreen()
{
    if (m_hiddenToTray && m_window->windowHandle()) {
        // A compositor gives the focus to a window that maps on the workspace the user is
        // on, not to one that maps full screen on another monitor's. The window comes back
        // framed where the user is, and goes full screen on its monitor once it shows.
        m_fullScreenScreen = m_window->screen();
        m_fullScreenPending = true;
        m_window->windowHandle()->installEventFilter(this);
        apply(Qt::WindowMaximized);
        QTimer::singleShot(compositorTimeout, this, &DisplayModes::finishFullScreen);
        return;
    }
    m_fullScreenPending = false;
    apply(Qt::WindowFullScreen);
    m_window->raise();
    m_window->activateWindow();
}

void DisplayModes::finishFullScreen()
{
    if (!m_fullScreenPending)
        return;
    m_fullScreenPending = false;
    if (QWindow *handle = m_window->windowHandle()) {
        handle->removeEventFilter(this);
        if (m_fullScreenScreen)
            handle->setScreen(m_fullScreenScreen);
    }
    showFullScreen();
}

bool DisplayModes::eventFilter(QObject *watched, QEvent *event)
{
    if (m_fullScreenPending && watched == m_window->windowHandle() &&
        event->type() == QEvent::Expose && m_window->windowHandle()->isExposed())
        QMetaObject::invokeMethod(this, &DisplayModes::finishFullScreen, Qt::QueuedConnection);
    return QObject::eventFilter(watched, event);
}

void DisplayModes::showWindowed()
{
    m_fullScreenPending = false;
    apply(Qt::WindowMaximized);
}

void DisplayModes::showHidden()
{
    m_fullScreenPending = false;
    if (m_trayAvailable && !DesktopPlatform::minimiseIsHonoured()) {
        // Framed and maximised underneath, for whichever command shows it again.
        m_window->setWindowState(Qt::WindowMaximized);
        m_window->hide();
        m_hiddenToTray = true;
        emit changed();
        return;
    }
    // Maximised underneath, so that the window manager restores it framed and maximised.
    apply(Qt::WindowMinimized | Qt::WindowMaximized);
}

void DisplayModes::setTrayAvailable(bool available)
{
    m_trayAvailable = available;
    if (!available && m_hiddenToTray)
        apply(Qt::WindowMinimized | Qt::WindowMaximized);
}

void DisplayModes::apply(Qt::WindowStates states)
{
    m_hiddenToTray = false;
    const Qt::WindowStates current = m_window->windowState() & ~Qt::WindowActive;
    const bool comingBack = !m_window->isVisible() || (current & Qt::WindowMinimized);
    if (current != states || !m_window->isVisible()) {
        m_window->setWindowState(states);
        m_window->setVisible(true);
    }
    // Brought back by the tray: the keys go to the window at once.
    if (comingBack && !(states & Qt::WindowMinimized))
        WindowFocus::take(m_window);
    emit changed();
}
