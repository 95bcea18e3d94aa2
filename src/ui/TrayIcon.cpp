#include "TrayIcon.h"

#include "ClockIcon.h"
#include "CommandList.h"
#include "PopupMenu.h"
#include "platform/TrayButtons.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QStyleHints>
#include <QTimer>
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
    : QObject(parent)
    , m_menu(menu)
    , m_icon(new QSystemTrayIcon(ClockIcon::icon(), this))
    , m_poll(new QTimer(this))
    , m_available(QSystemTrayIcon::isSystemTrayAvailable())
    , m_clicks(QGuiApplication::styleHints()->mouseDoubleClickInterval(),
               QGuiApplication::styleHints()->mouseDoubleClickDistance())
{
    setObjectName(QStringLiteral("RxTrayIcon1"));
    m_icon->setToolTip(QStringLiteral("Tarvik倒计时计时器"));
    m_icon->setContextMenu(m_menu->menu());
    connect(m_icon, &QSystemTrayIcon::activated, this, &TrayIcon::onActivated);
    m_poll->setInterval(availabilityPollMs);
    connect(m_poll, &QTimer::timeout, this, &TrayIcon::checkAvailability);
    m_poll->start();
    TrayButtons::watch(this);
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

void TrayIcon::popupMenu()
{
    QToolTip::hideText();
    m_menu->popup(QCursor::pos());
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
    // The menu opens by itself on a right click; a single left click does nothing.
    if (reason == QSystemTrayIcon::DoubleClick)
        m_menu->commands()->runGuarded([this] { doubleClick(); });
}

void TrayIcon::checkAvailability()
{
    const bool available = QSystemTrayIcon::isSystemTrayAvailable();
    if (available == m_available)
        return;
    // Qt docks the icon in a new notification area by itself (checked end to end).
    m_available = available;
    emit trayAvailabilityChanged(available);
}
