// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AwakeBackend.h"

#include <memory>

// The X screen-saver extension's suspend on Qt's own connection to the X server: the
// server keeps neither the saver nor power saving from starting until it is lifted, or the
// connection closes.
class X11ScreenSaverSuspend final : public AwakeBackend
{
public:
    // Null when there is no X connection or the server lacks the extension.
    static std::unique_ptr<X11ScreenSaverSuspend> create();

    void hold() override;
    void release() override;
    QString name() const override { return QStringLiteral("X screen-saver extension"); }

private:
    X11ScreenSaverSuspend() = default;
    void suspend(bool on);
};
