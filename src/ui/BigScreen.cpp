#include "BigScreen.h"

#include "DigitFit.h"
#include "MonitorChoice.h"
#include "platform/DesktopPlatform.h"

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

constexpr int returnTimeout = 3000; // milliseconds

} // namespace

BigScreen::BigScreen(QWidget *window, QLabel *display)
    : QObject(window)
    , m_window(window)
    , m_display(display)
{
    m_display->installEventFilter(this);
    m_window->installEventFilter(this);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &BigScreen::screenRemoved);
}

void BigScreen::setAutofit(bool on)
{
    if (on != m_autofit) {
        m_autofit = on;
        // A fitted font must not hold the window at its size: the display takes
        // whatever area the layout gives it and the font follows.
        const QSizePolicy::Policy policy = on ? QSizePolicy::Ignored : QSizePolicy::Preferred;
        m_display->setSizePolicy(policy, policy);
    }
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
        returnStep();
    return QObject::eventFilter(watched, event);
}

void BigScreen::setMonitor(std::int64_t setting)
{
    m_monitor = setting;
}

QScreen *BigScreen::fullScreenTarget() const
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    const int index = MonitorChoice::screenIndex(m_monitor, int(screens.size()));
    return index == MonitorChoice::windowsOwn ? m_window->screen() : screens.at(index);
}

void BigScreen::prepareFullScreen()
{
    m_return = Return::None;
    QScreen *const target = fullScreenTarget();
    QScreen *const current = m_window->screen();
    if (!(m_window->windowState() & Qt::WindowFullScreen))
        m_windowedScreen = current;
    if (target != current)
        moveToScreen(target);
}

void BigScreen::prepareWindowed()
{
    QScreen *const home = m_windowedScreen;
    m_windowedScreen = nullptr;
    m_return = Return::None;
    if (!home || home == m_window->screen())
        return;
    if (DesktopPlatform::isX11() || !m_window->isVisible() || !m_window->windowHandle()) {
        moveToScreen(home);
        return;
    }
    // A Wayland client cannot place its window, but full screen names a monitor: once
    // the compositor has left full screen (the window gets its framed size), the window
    // goes full screen on the monitor it came from (the size of that monitor) and then
    // leaves full screen there. A compositor that does not answer ends the way back.
    m_home = home;
    m_return = Return::LeavingFullScreen;
    QTimer::singleShot(returnTimeout, this, [this] { m_return = Return::None; });
}

void BigScreen::returnStep()
{
    switch (m_return) {
    case Return::None:
        return;
    case Return::LeavingFullScreen:
        if (!m_home) {
            m_return = Return::None;
            return;
        }
        m_return = Return::FullScreenAtHome;
        m_window->windowHandle()->setScreen(m_home);
        m_window->setWindowState(Qt::WindowFullScreen);
        return;
    case Return::FullScreenAtHome:
        m_return = Return::None;
        m_window->setWindowState(Qt::WindowMaximized);
        return;
    }
}

void BigScreen::moveToScreen(QScreen *screen)
{
    // A maximised or full-screen window stays where it is: it is made normal, moved,
    // and the display mode that follows sets its state again.
    const bool visible = m_window->isVisible();
    if (visible)
        m_window->setWindowState(Qt::WindowNoState);
    if (QWindow *handle = m_window->windowHandle())
        handle->setScreen(screen);
    if (!DesktopPlatform::isX11())
        return; // the compositor places windows; full screen names the monitor instead
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
    // set again on the monitor that now holds it, or on the chosen one if it still exists.
    QTimer::singleShot(0, this, [this] {
        if (!(m_window->windowState() & Qt::WindowFullScreen))
            return;
        QScreen *const target = fullScreenTarget();
        if (target == m_window->screen() && m_window->geometry() == target->geometry())
            return;
        moveToScreen(target);
        m_window->setWindowState(Qt::WindowFullScreen);
        m_window->show();
    });
}
