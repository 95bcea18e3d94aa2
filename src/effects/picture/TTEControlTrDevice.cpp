// SPDX-License-Identifier: GPL-3.0-or-later
#include "TTEControlTrDevice.h"

#include "TTEImage.h"

#include <QScreen>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <utility>

TTEControlTrDevice::TTEControlTrDevice(TTEImage &control)
    : TTETransitionDevice(control.m_clock)
    , m_control(control)
{}

QImage &TTEControlTrDevice::surface()
{
    return m_control.m_backBuffer;
}

void TTEControlTrDevice::present(const QRect &area)
{
    // Nothing is shown while the run is being stopped: the normal look follows.
    if (!m_control.m_releasing)
        m_control.repaint(area);
}

void TTEControlTrDevice::scheduleWait(double ms)
{
    const auto wait = std::chrono::milliseconds(qMax(qint64(std::ceil(ms)), qint64(1)));
    m_control.m_frameTimer->start(wait);
}

void TTEControlTrDevice::cancelWait()
{
    m_control.m_frameTimer->stop();
}

bool TTEControlTrDevice::paletteDisplay() const
{
    const QScreen *screen = m_control.screen();
    return screen && screen->depth() <= 8;
}

QColor TTEControlTrDevice::defaultSolidColor() const
{
    return m_control.backgroundColor();
}

bool TTEControlTrDevice::abortRequested()
{
    return std::exchange(m_control.m_abortInput, false);
}

void TTEControlTrDevice::beginPlay()
{
    m_control.beginBackBuffer();
    const TTransitionEffect *copy = workingCopy();
    m_control.watchAbortInput(copy->AbortOnClick, copy->AbortOnEscape);
}

void TTEControlTrDevice::endPlay()
{
    m_control.watchAbortInput(false, false);
}
