// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>

#include <cstdint>

namespace PictureFit {

// Where a graphic of `graphic` pixels is drawn in `client` with `margin` pixels kept free on
// every side: scaled up or down to touch two opposite sides with the aspect ratio kept,
// centred, a spare odd pixel going right or below. Empty without a graphic.
constexpr QRect centerStretch(const QRect &client, int margin, const QSize &graphic)
{
    const int w = graphic.width(), h = graphic.height();
    const int W = client.width() - 2 * margin, H = client.height() - 2 * margin;
    if (w <= 0 || h <= 0 || W <= 0 || H <= 0)
        return QRect();
    int width, height;
    // W / H > w / h without rounding; 64 bits so large pictures cannot overflow.
    if (std::int64_t(W) * h > std::int64_t(w) * H) {
        height = H;
        width = int(std::int64_t(w) * H / h);
    } else {
        width = W;
        height = int(std::int64_t(W) * h / w);
    }
    const int left = (W - width) / 2 + margin + client.left();
    const int top = (H - height) / 2 + margin + client.top();
    return QRect(left, top, width, height);
}

} // namespace PictureFit
