// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TTEChrono.h"
#include "EffectData.h"

#include <QImage>
#include <QPoint>
#include <QRect>

#include <memory>

// Everything an effect needs for one prepared run: the frames, the surface it draws on and the
// frame counters of the passes.
struct TTETransitionData
{
    explicit TTETransitionData(const MonotonicClock &clock)
        : chrono(clock)
    {}

    const QImage *source = nullptr; // what the pass starts from
    const QImage *target = nullptr; // what the pass ends at
    std::unique_ptr<EffectData> effectData;

    int width = 0;
    int height = 0;
    QImage *surface = nullptr; // frame point (0, 0) lies at origin on it
    QPoint origin;
    QImage::Format pixelFormat = QImage::Format_RGB32;

    int pass = 0;
    int passCount = 1;
    int frameCount = 0;
    int lastFrame = 0;
    int totalFrames = 0;
    int framesDone = 0;

    QRect updateRect; // in frame coordinates
    QRect previousUpdateRect;

    TTEChrono chrono;
    double lastCopyMs = 0; // no work image, so nothing is copied after a frame
    bool showTarget = true;
};
