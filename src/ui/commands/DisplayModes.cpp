#include "DisplayModes.h"

#include "DesktopPlatform.h"

#include <QWidget>

DisplayModes::DisplayModes(QWidget *window)
    : QObject(window)
    , m_window(window)
{}

void DisplayModes::showFullScreen()
{
    apply(Qt::WindowFullScreen);
    m_window->raise();
    m_window->activateWindow();
}

void DisplayModes::showWindowed()
{
    apply(Qt::WindowMaximized);
}

void DisplayModes::showHidden()
{
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
    if (current != states || !m_window->isVisible()) {
        m_window->setWindowState(states);
        m_window->setVisible(true);
    }
    emit changed();
}
