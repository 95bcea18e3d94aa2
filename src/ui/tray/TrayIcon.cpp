// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrayIcon.h"

#include "ClockIcon.h"
#include "CommandList.h"
#include "PopupMenu.h"
#include "DesktopPlatform.h"
#include "StatusNotifierHost.h"
#include "TrayHostWatcher.h"
#include "TrayButtons.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QStyleHints>
#include <QToolTip>

#include <optional>

namespace {

std::optional<TrayClicks::Button> trayButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return TrayClicks::Button::Left;
    case Qt::RightButton:
        return TrayClicks::Button::Right;
    case Qt::MiddleButton:
        return TrayClicks::Button::Middle;
    default:
        return std::nullopt;
    }
}

} // namespace

TrayIcon::TrayIcon(PopupMenu *menu, QObject *parent)
    : TrayIcon(menu, StatusNotifierHost::isRegistered() ? Host::StatusNotifier : Host::Embedding,
               parent)
{}

TrayIcon::TrayIcon(PopupMenu *menu, Host host, QObject *parent)
    : QObject(parent)
    , m_menu(menu)
    , m_host(host)
    , m_icon(new QSystemTrayIcon(ClockIcon::icon(), this))
    , m_hostWatcher(TrayHostWatcher::create(host == Host::Embedding && DesktopPlatform::isX11()
                                                ? TrayHostWatcher::Kind::X11Selection
                                                : TrayHostWatcher::Kind::StatusNotifier,
                                            this))
    , m_available(m_hostWatcher->isHostPresent())
    , m_clicks(QGuiApplication::styleHints()->mouseDoubleClickInterval(),
               QGuiApplication::styleHints()->mouseDoubleClickDistance())
{
    setObjectName(QStringLiteral("RxTrayIcon1"));
    m_icon->setToolTip(tr("Tarvik倒计时计时器"));
    m_icon->setContextMenu(m_menu->menu());
    connect(m_icon, &QSystemTrayIcon::activated, this, &TrayIcon::onActivated);
    // Asked again whenever the host may have changed, never on a timer: an idle program
    // does not wake.
    connect(m_hostWatcher, &TrayHostWatcher::changed, this, &TrayIcon::checkAvailability);
    TrayButtons::watch(this, {
        .pressed = [this](Qt::MouseButton button, std::int64_t timeMs,
                          QPoint position) { buttonPressed(button, timeMs, position); },
        .released = [this](Qt::MouseButton button) { buttonReleased(button); },
    });
    if (m_available || DesktopPlatform::trayIconWaitsForTray())
        m_icon->show();
}

void TrayIcon::doubleClick()
{
    QAction *defaultAction = m_menu->menu()->defaultAction();
    if (defaultAction && defaultAction->isEnabled()) {
        defaultAction->trigger();
        return;
    }
    emit doubleClicked();
}

void TrayIcon::buttonPressed(Qt::MouseButton button, std::int64_t timeMs, QPoint position)
{
    if (const auto which = trayButton(button))
        act(m_clicks.press(*which, timeMs, position));
}

void TrayIcon::buttonReleased(Qt::MouseButton button)
{
    if (const auto which = trayButton(button))
        act(m_clicks.release(*which));
}

void TrayIcon::act(TrayClicks::Action action)
{
    switch (action) {
    case TrayClicks::Action::None:
        break;
    case TrayClicks::Action::PopupMenu:
        popupMenu();
        break;
    case TrayClicks::Action::DoubleClick:
        m_menu->commands()->runGuarded([this] { doubleClick(); });
        break;
    }
}

void TrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason)
{
    // An embedding tray opens the menu by itself on a right click; a single left click
    // does nothing.
    const bool statusNotifier = m_host == Host::StatusNotifier;
    if (reason == QSystemTrayIcon::DoubleClick ||
        (statusNotifier && reason == QSystemTrayIcon::Trigger))
        m_menu->commands()->runGuarded([this] { doubleClick(); });
    else if (statusNotifier && reason == QSystemTrayIcon::Context && !m_menu->menu()->isVisible())
        popupMenu();
}

void TrayIcon::popupMenu()
{
    QToolTip::hideText();
    QMenu *menu = m_menu->menu();
    // While the main window is hidden the menu has no window to open from, and a
    // Wayland compositor takes it for a window of its own: a fixed size keeps a tiling
    // one from stretching it over the screen.
    m_menu->addAccessKeys();
    menu->setFixedSize(menu->sizeHint());
    connect(
        menu, &QMenu::aboutToHide, this,
        [menu] {
            menu->setMinimumSize(0, 0);
            menu->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        },
        Qt::SingleShotConnection);
    m_menu->popup(QCursor::pos());
}

void TrayIcon::checkAvailability()
{
    const bool available = m_hostWatcher->isHostPresent();
    if (available == m_available)
        return;
    // Qt docks the icon in a new notification area by itself (checked end to end).
    m_available = available;
    if (available && !m_icon->isVisible())
        m_icon->show();
    emit trayAvailabilityChanged(available);
}
