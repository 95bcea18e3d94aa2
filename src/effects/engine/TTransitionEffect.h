// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TTEEffectDirection.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

struct TTETransitionData;

enum TTEPassSetting : std::uint8_t
{
    teOnePass,
    teTwoPasses,
    tePaletteDependent
};

// Options of the second pass of a two-pass run.
struct TTEPass2Options
{
    bool DistributedTime = false;     // both passes share Milliseconds
    bool Reversed = false;            // toggle Reversed at the start of each pass
    bool UseSolidColor = true;        // the middle frame is a plain colour
    std::optional<QColor> SolidColor; // none: the control's colour
};

// Base of the transition effects: the options the engine reads and the operations an effect
// provides to play one pass frame by frame.
class TTransitionEffect
{
public:
    // Capability flags.
    static constexpr std::uint16_t tecPacedFrames = 0x0001;
    static constexpr std::uint16_t tecWorkImage = 0x0010;
    static constexpr std::uint16_t tecChangedRects = 0x0040;
    static constexpr std::uint16_t tecThreadSafe = 0x0100;
    static constexpr std::uint16_t tecTwoPasses = 0x0200;

    using Notification = std::function<void(TTransitionEffect &)>;
    using AbortQuery = std::function<bool(TTransitionEffect &)>;

    virtual ~TTransitionEffect() = default;
    TTransitionEffect &operator=(const TTransitionEffect &) = delete;

    std::int32_t Milliseconds = 0; // one pass; 0 draws every frame without pacing
    bool Reversed = false;
    TTEPassSetting PassSetting = tePaletteDependent;
    TTEPass2Options Pass2Options;
    bool Enabled = true;
    bool AbortOnClick = false;
    bool AbortOnEscape = false;

    Notification OnStartTransition;
    Notification OnEndTransition;
    AbortQuery OnAbortQuery;
    Notification OnBeforeTransition;
    Notification OnAfterTransition;

    TTEEffectDirection Direction() const { return m_direction; }
    // A direction outside the class's allowed set is ignored.
    void setDirection(TTEEffectDirection direction);

    virtual TTEEffectDirections allowedDirections() const { return directionBit(tedNone); }
    virtual TTEEffectDirection reversedDirection(TTEEffectDirection direction) const;
    virtual QImage::Format pixelFormat() const { return QImage::Format_RGB32; }

    // Prepares one pass and reports its frame count.
    virtual void Initialize(TTETransitionData &data, int &frameCount) = 0;
    virtual void Finalize(TTETransitionData &data);
    // Draws frame `frame` onto the surface; `step` frames after `previous`. Returns the
    // changed area in frame coordinates.
    virtual QRect RenderFrame(TTETransitionData &data, int frame, int previous, int step) = 0;

    virtual std::uint16_t capabilities() const { return 0x020A; }
    virtual QString displayName() const = 0;
    // A copy with every option, owned by the device that plays it.
    virtual std::unique_ptr<TTransitionEffect> deviceCopy() const = 0;

protected:
    TTransitionEffect() = default;
    TTransitionEffect(const TTransitionEffect &) = default;

    // Direction with Reversed applied.
    TTEEffectDirection effectiveDirection() const
    {
        return Reversed ? reversedDirection(m_direction) : m_direction;
    }
    // For constructors of derived classes, whose allowed set is not virtual-callable yet.
    void initDirection(TTEEffectDirection direction) { m_direction = direction; }

private:
    TTEEffectDirection m_direction = tedNone;
};
