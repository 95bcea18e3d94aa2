// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AwakeBackend.h"

#include <memory>

class QWindow;

// An inhibitor of the idle-inhibit protocol on the window's Wayland surface: the compositor
// does not go idle while the surface is visible.
class WaylandIdleInhibitor final : public AwakeBackend
{
public:
    // Null when the program does not run on Wayland, the window has no surface yet, or the
    // compositor does not offer the protocol.
    static std::unique_ptr<WaylandIdleInhibitor> create(QWindow *window);
    ~WaylandIdleInhibitor() override;

    void hold() override;
    void release() override;
    QString name() const override { return QStringLiteral("zwp_idle_inhibit_manager_v1"); }

private:
    struct Objects;
    explicit WaylandIdleInhibitor(std::unique_ptr<Objects> objects);

    std::unique_ptr<Objects> m_objects;
};
