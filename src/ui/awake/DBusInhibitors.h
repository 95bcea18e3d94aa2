// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AwakeBackend.h"

#include <QDBusObjectPath>
#include <QObject>

#include <cstdint>
#include <memory>

// The desktop's screen-saver service: Inhibit gives a cookie that UnInhibit returns.
class ScreenSaverInhibitor final : public QObject, public AwakeBackend
{
    Q_OBJECT

public:
    static inline const QString service = QStringLiteral("org.freedesktop.ScreenSaver");

    void hold() override;
    void release() override;
    QString name() const override { return service; }

private:
    static void unInhibit(std::uint32_t cookie);

    bool m_held = false;
    std::uint32_t m_cookie = 0;
    bool m_haveCookie = false;
};

// The desktop portal's Inhibit for idleness; the request it returns is closed to release.
class PortalIdleInhibitor final : public QObject, public AwakeBackend
{
    Q_OBJECT

public:
    void hold() override;
    void release() override;
    QString name() const override { return QStringLiteral("org.freedesktop.portal.Inhibit"); }

private:
    static void close(const QDBusObjectPath &request);

    bool m_held = false;
    QDBusObjectPath m_request;
};
