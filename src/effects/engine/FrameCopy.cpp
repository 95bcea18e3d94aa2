// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrameCopy.h"

#include <cstring>

void FrameCopy::copyRect(QImage &dst, QPoint dstPos, const QImage &src, QRect srcRect)
{
    Q_ASSERT(dst.depth() == 32 && src.depth() == 32);
    const QRect inSource = srcRect & src.rect();
    if (inSource.isEmpty())
        return;
    // Clip the destination and move the source by the same amount.
    const QRect wanted(dstPos + (inSource.topLeft() - srcRect.topLeft()), inSource.size());
    const QRect clipped = wanted & dst.rect();
    if (clipped.isEmpty())
        return;
    const QPoint from = inSource.topLeft() + (clipped.topLeft() - wanted.topLeft());
    const qsizetype bytes = qsizetype(clipped.width()) * 4;
    for (int row = 0; row < clipped.height(); ++row) {
        const uchar *in = src.constScanLine(from.y() + row) + qsizetype(from.x()) * 4;
        uchar *out = dst.scanLine(clipped.top() + row) + qsizetype(clipped.left()) * 4;
        std::memmove(out, in, size_t(bytes));
    }
}
