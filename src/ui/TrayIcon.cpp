#include "TrayIcon.h"

#include "ClockIcon.h"
#include "CommandList.h"
#include "PopupMenu.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

TrayIcon::TrayIcon(PopupMenu *menu, QObject *parent)
    : QObject(parent)
    , m_menu(menu)
    , m_icon(new QSystemTrayIcon(ClockIcon::icon(), this))
    , m_poll(new QTimer(this))
    , m_available(QSystemTrayIcon::isSystemTrayAvailable())
{
    setObjectName(QStringLiteral("RxTrayIcon1"));
    m_icon->setToolTip(QStringLiteral("Tarvik倒计时计时器"));
    m_icon->setContextMenu(m_menu->menu());
    connect(m_icon, &QSystemTrayIcon::activated, this, &TrayIcon::onActivated);
    m_poll->setInterval(availabilityPollMs);
    connect(m_poll, &QTimer::timeout, this, &TrayIcon::checkAvailability);
    m_poll->start();
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
