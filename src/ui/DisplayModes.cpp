#include "DisplayModes.h"

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
    // Maximised underneath, so that the window manager restores it framed and maximised.
    apply(Qt::WindowMinimized | Qt::WindowMaximized);
}

void DisplayModes::apply(Qt::WindowStates states)
{
    const Qt::WindowStates current = m_window->windowState() & ~Qt::WindowActive;
    if (current != states || !m_window->isVisible()) {
        m_window->setWindowState(states);
        m_window->setVisible(true);
    }
    emit changed();
}
