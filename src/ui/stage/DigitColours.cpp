// SPDX-License-Identifier: GPL-3.0-or-later
#include "DigitColours.h"

#include <QLabel>
#include <QTimer>

DigitColours::DigitColours(QLabel *display, QObject *parent)
    : QObject(parent)
    , m_display(display)
    , m_blink(new QTimer(this))
{
    m_blink->setInterval(blinkHalfPeriodMs);
    connect(m_blink, &QTimer::timeout, this, &DigitColours::blink);
}

void DigitColours::setColours(const std::array<QColor, 4> &colours, const QColor &background)
{
    m_colours = colours;
    m_background = background;
    paint();
}

void DigitColours::setBlinkBelowZero(bool blink)
{
    m_blinkBelowZero = blink;
    updateBlinking();
}

void DigitColours::setStage(ColourStage stage)
{
    m_stage = stage;
    updateBlinking();
    paint();
}

void DigitColours::setRunning(bool running)
{
    m_running = running;
    updateBlinking();
}

bool DigitColours::isBlinking() const
{
    return m_blink->isActive();
}

void DigitColours::updateBlinking()
{
    const bool blinking = m_blinkBelowZero && m_running && m_stage == ColourStage::Over;
    if (blinking == m_blink->isActive())
        return;
    // Starts with the digits shown, and ends with them shown.
    m_shown = true;
    if (blinking)
        m_blink->start();
    else
        m_blink->stop();
    paint();
}

void DigitColours::blink()
{
    m_shown = !m_shown;
    paint();
}

void DigitColours::paint()
{
    const QColor colour = m_shown ? m_colours.at(std::size_t(m_stage)) : m_background;
    if (!colour.isValid())
        return;
    QPalette palette = m_display->palette();
    if (palette.color(QPalette::WindowText) == colour)
        return;
    palette.setColor(QPalette::WindowText, colour);
    m_display->setPalette(palette);
}
