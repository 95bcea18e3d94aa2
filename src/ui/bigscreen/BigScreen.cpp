// SPDX-License-Identifier: GPL-3.0-or-later
#include "BigScreen.h"

#include "DigitFit.h"
#include "MonitorChoice.h"
#include "DesktopPlatform.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// The widest text the display shows; every digit has the same advance in the fonts
// the display uses, so this is as wide as any time.
const QString widestText = QStringLiteral("00:00:00");

constexpr int compositorTimeout = 3000; // milliseconds

} // namespace

BigScreen::BigScreen(QWidget *window, QLabel *display)
    : QObject(window)
    , m_window(window)
    , m_display(display)
{
    // The display takes whatever area the window's layout gives it, never the other way
    // round: a font too large for the screen clips its digits (or, fitted, shrinks) instead
    // of holding the window larger than the screen.
    m_display->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_display->installEventFilter(this);
    m_window->installEventFilter(this);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &BigScreen::screenRemoved);
}

void BigScreen::setAutofit(bool on)
{
    m_autofit = on;
    refit();
}

void BigScreen::refit()
{
    if (!m_autofit)
        return;
    QFont font = m_display->font();
    const int size = DigitFit::largestFittingPixelSize(font, widestText,
                                                       m_display->contentsRect().size());
    if (font.pixelSize() == size)
        return;
    font.setPixelSize(size);
    m_display->setFont(font);
}

bool BigScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_display && event->type() == QEvent::Resize)
        refit();
    else if (watched == m_window && event->type() == QEvent::Resize)
        compositorStep();
    return QObject::eventFilter(watched, event);
}

void BigScreen::setMonitor(std::int64_t setting)
{
    m_monitor = setting;
}

QScreen *BigScreen::fullScreenTarget() const
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    const int index =
        MonitorChoice::screenIndex(m_monitorForRun.value_or(m_monitor), int(screens.size()));
    return index == MonitorChoice::windowsOwn ? m_window->screen() : screens.at(index);
}

bool BigScreen::placedByCompositor() const
{
    return !DesktopPlatform::isX11() && m_window->isVisible() && m_window->windowHandle() &&
           (m_window->windowState() & Qt::WindowFullScreen);
}

void BigScreen::prepareFullScreen()
{
    m_step = Step::None;
    QScreen *const target = fullScreenTarget();
    QScreen *const current = m_window->screen();
    // The framed place is kept across a hide or a minimise that came from full screen.
    const Qt::WindowStates state = m_window->windowState();
    const bool framedNow =
        m_window->isVisible() && !(state & (Qt::WindowFullScreen | Qt::WindowMinimized));
    if (!(state & Qt::WindowFullScreen) && (framedNow || !m_windowedScreen))
        m_windowedScreen = current;
    if (target == current)
        return;
    if (placedByCompositor()) {
        startCompositorMove(target, false);
        m_window->setWindowState(Qt::WindowNoState);
        return;
    }
    moveToScreen(target);
}

void BigScreen::prepareWindowed()
{
    QScreen *const home = m_windowedScreen;
    m_windowedScreen = nullptr;
    m_step = Step::None;
    if (!home || home == m_window->screen())
        return;
    // Window display itself leaves full screen.
    if (placedByCompositor())
        startCompositorMove(home, true);
    else
        moveToScreen(home);
}

void BigScreen::startCompositorMove(QScreen *target, bool windowedAfter)
{
    // A Wayland client cannot place its window, but full screen names a monitor. The
    // window leaves full screen, and once the compositor has done so (the window gets its
    // framed size) it goes full screen on the target (that monitor's size), then, for
    // window display, leaves full screen there. Each request waits for the compositor's
    // answer to the one before; one that does not come ends the move.
    m_stepScreen = target;
    m_windowedAfter = windowedAfter;
    m_step = Step::LeavingFullScreen;
    QTimer::singleShot(compositorTimeout, this, [this] { m_step = Step::None; });
}

void BigScreen::compositorStep()
{
    switch (m_step) {
    case Step::None:
        return;
    case Step::LeavingFullScreen:
        if (!m_stepScreen || !m_window->windowHandle()) {
            m_step = Step::None;
            return;
        }
        m_step = Step::EnteringFullScreen;
        m_window->windowHandle()->setScreen(m_stepScreen);
        m_window->setWindowState(Qt::WindowFullScreen);
        return;
    case Step::EnteringFullScreen:
        m_step = Step::None;
        if (m_windowedAfter)
            m_window->setWindowState(Qt::WindowMaximized);
        return;
    }
}

void BigScreen::moveToScreen(QScreen *screen)
{
    // Window managers keep a maximised or full-screen window where it is: it is made
    // normal, moved, and the display mode that follows sets its state again.
    const bool visible = m_window->isVisible();
    if (visible)
        m_window->setWindowState(Qt::WindowNoState);
    if (QWindow *handle = m_window->windowHandle())
        handle->setScreen(screen);
    const QRect area = screen->availableGeometry();
    const QSize size = m_window->size().boundedTo(area.size());
    m_window->setGeometry(QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size));
}

void BigScreen::screenRemoved(QScreen *screen)
{
    if (screen == m_windowedScreen)
        m_windowedScreen = nullptr;
    if (!(m_window->windowState() & Qt::WindowFullScreen))
        return;
    // Qt gives the window another screen once the removal is done; full screen is then
    // set again on the chosen monitor if it still exists, else on the window's new one.
    QTimer::singleShot(0, this, [this] {
        if (!(m_window->windowState() & Qt::WindowFullScreen))
            return;
        QScreen *const target = fullScreenTarget();
        if (target == m_window->screen() && m_window->geometry() == target->geometry())
            return;
        if (placedByCompositor()) {
            startCompositorMove(target, false);
            m_window->setWindowState(Qt::WindowNoState);
            return;
        }
        moveToScreen(target);
        m_window->setWindowState(Qt::WindowFullScreen);
    });
}
