// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TTETransitionDevice.h"

class TTEImage;

// Plays a transition on a picture control: frames go into the control's back buffer, which is
// repainted at once after every frame; pacing waits run on the control's frame timer.
class TTEControlTrDevice final : public TTETransitionDevice
{
public:
    explicit TTEControlTrDevice(TTEImage &control);

protected:
    QImage &surface() override;
    void present(const QRect &area) override;
    void scheduleWait(double ms) override;
    void cancelWait() override;
    bool supportsTwoPasses() const override { return true; }
    bool paletteDisplay() const override;
    QColor defaultSolidColor() const override;
    bool abortRequested() override;
    void beginPlay() override;
    void endPlay() override;

private:
    TTEImage &m_control;
};
