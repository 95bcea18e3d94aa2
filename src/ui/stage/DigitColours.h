// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ColourStage.h"

#include <QColor>
#include <QObject>

#include <array>

class QLabel;
class QTimer;

// The colour of the countdown's digits by the stage of the countdown, and their blinking
// below zero: shown once a second, hidden in between, while the countdown runs.
class DigitColours : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DigitColours)

public:
    static constexpr int blinkHalfPeriodMs = 500;

    // display: the label whose text colour this sets.
    explicit DigitColours(QLabel *display, QObject *parent = nullptr);

    // The colour of each stage, in the order of ColourStage, and the background the digits
    // take while blinked out.
    void setColours(const std::array<QColor, 4> &colours, const QColor &background);
    void setBlinkBelowZero(bool blink);

    void setStage(ColourStage stage);
    void setRunning(bool running);

    ColourStage stage() const { return m_stage; }
    bool isBlinking() const;
    // False while the digits are blinked out.
    bool digitsShown() const { return m_shown; }

private:
    void updateBlinking();
    void blink();
    void paint();

    QLabel *const m_display;
    QTimer *const m_blink;
    std::array<QColor, 4> m_colours;
    QColor m_background;
    ColourStage m_stage = ColourStage::Normal;
    bool m_blinkBelowZero = false;
    bool m_running = false;
    bool m_shown = true;
};
