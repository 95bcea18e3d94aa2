// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>

// One notification of the desktop's notification server (org.freedesktop.Notifications)
// at a time, whose default action (a click on it) emits activated(). Nothing waits for the
// server: without one, nothing shows and nothing fails.
class DesktopNotification : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopNotification)

public:
    static inline const QString service = QStringLiteral("org.freedesktop.Notifications");

    explicit DesktopNotification(QObject *parent = nullptr);
    ~DesktopNotification() override;

    // Replaces the one sent before, if the server still shows it.
    void send(const QString &summary, const QString &body);
    // Takes it off the screen.
    void withdraw();

signals:
    void activated();

private slots:
    void onActionInvoked(uint id, const QString &action);
    void onClosed(uint id, uint reason);

private:
    std::uint32_t m_id = 0;
    bool m_listening = false;
    // A withdraw that came before the server told the id.
    bool m_withdrawn = false;
};
