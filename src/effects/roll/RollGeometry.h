// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TTEEffectDirection.h"

#include <QRect>

// Where the roll lies after each frame: the strip A that became flat (or uncovered) since the
// last frame, the band B, and where the band's picture starts in the mirror image.
// Edges are exclusive on the right and bottom and may reach outside the frame.
class RollGeometry
{
public:
    struct Edges
    {
        int left = 0, top = 0, right = 0, bottom = 0;

        QRect toRect() const { return QRect(left, top, right - left, bottom - top); }
        friend bool operator==(const Edges &, const Edges &) = default;
    };

    // direction: right, left, down or up, already reversed where asked.
    RollGeometry(TTEEffectDirection direction, bool unroll, int width, int height, int size);

    int frameCount() const { return m_frames; }
    bool horizontal() const { return m_direction == tedRight || m_direction == tedLeft; }

    // Moves to frame `frame`, `step` frames after the previous one.
    void advance(int frame, int step);

    const Edges &strip() const { return m_a; }
    const Edges &band() const { return m_b; }
    int bandWidth() const { return m_z; }
    int mirrorX() const { return m_mx; }
    int mirrorY() const { return m_my; }

private:
    TTEEffectDirection m_direction;
    bool m_unroll;
    int m_width, m_height, m_size, m_frames;
    Edges m_a, m_b;
    int m_z = 0, m_mx = 0, m_my = 0;
};
