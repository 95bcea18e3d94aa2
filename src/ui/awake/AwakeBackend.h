// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// One way of keeping the screen on. hold() and release() alternate, hold() first; neither
// waits for an answer.
class AwakeBackend
{
public:
    virtual ~AwakeBackend() = default;
    virtual void hold() = 0;
    virtual void release() = 0;
    // How it holds the screen, for the log.
    virtual QString name() const = 0;
};
