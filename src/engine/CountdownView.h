// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the tick reads and writes: the three counter texts, the display caption,
// and the window's reactions at the alarm and at the finish.
class CountdownView
{
public:
    virtual ~CountdownView() = default;

    virtual QString totalText() const = 0;
    virtual QString elapsedText() const = 0;
    virtual QString remainingText() const = 0;
    virtual void setTotalText(const QString &text) = 0;
    virtual void setElapsedText(const QString &text) = 0;
    virtual void setRemainingText(const QString &text) = 0;
    virtual void setDisplayText(const QString &text) = 0;

    // Lets pending window events run (at the start and end of every tick).
    virtual void processPendingEvents() = 0;
    // Remaining seconds reached the alarm lead: open and play the sound, or hide the bar.
    // An exception thrown here ends the tick before the finish test.
    virtual void startAlarm() = 0;
    // Remaining seconds reached zero: idle flags, timer off, then the completion message.
    virtual void finishCountdown() = 0;
};
