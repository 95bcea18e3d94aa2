// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

namespace FrameCopy {

// Copies srcRect of src to dst at dstPos, both 32 bits per pixel, clipped to both images.
void copyRect(QImage &dst, QPoint dstPos, const QImage &src, QRect srcRect);

} // namespace FrameCopy
