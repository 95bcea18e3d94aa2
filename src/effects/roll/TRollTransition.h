// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TTransitionEffect.h"

// Unrolls the target over the source like a sheet, from one edge, with a shaded band (the
// roll) in front showing the target mirrored about the front. Without Unroll the source is
// rolled up instead, uncovering the target.
class TRollTransition : public TTransitionEffect
{
public:
    TRollTransition();

    std::int32_t Size = 60; // width of the band in pixels
    bool Use3D = true;      // shade the band like a cylinder
    bool Unroll = true;

    TTEEffectDirections allowedDirections() const override
    {
        return directionBit(tedRight) | directionBit(tedLeft) | directionBit(tedDown) |
               directionBit(tedUp) | directionBit(tedRandom);
    }
    void Initialize(TTETransitionData &data, int &frameCount) override;
    QRect RenderFrame(TTETransitionData &data, int frame, int previous, int step) override;
    void Finalize(TTETransitionData &data) override;
    std::uint16_t capabilities() const override { return 0x031B; }
    QString displayName() const override { return QStringLiteral("Roll"); }
    std::unique_ptr<TTransitionEffect> deviceCopy() const override;

    // Whether bands are shaded for frames of this pixel format on this processor.
    bool shadingOn(QImage::Format format) const;

protected:
    TRollTransition(const TRollTransition &) = default;
};
