// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteView.h"

#include <QColor>
#include <QPolygonF>
#include <QRect>

#include <algorithm>
#include <optional>

// Small readers for values that both metafile kinds store the same way.
namespace RecordValues {

// Coordinates far beyond any picture are clamped so that they convert safely.
constexpr qint64 CoordinateLimit = qint64(1) << 28;

inline QColor colourRef(std::uint32_t value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

inline int clampCoordinate(qint64 v)
{
    return int(std::clamp(v, -CoordinateLimit, CoordinateLimit));
}

// A rectangle from edges whose right and bottom lie outside it.
inline QRect rectFromEdges(qint64 left, qint64 top, qint64 right, qint64 bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    return QRect(QPoint(clampCoordinate(left), clampCoordinate(top)),
                 QPoint(clampCoordinate(right) - 1, clampCoordinate(bottom) - 1));
}

// count points of two 32-bit or two 16-bit coordinates each, when all fit.
inline std::optional<QPolygonF> points(ByteView r, std::size_t at, std::uint64_t count, bool wide)
{
    const std::size_t stride = wide ? 8 : 4;
    if (count > r.size() / stride || !r.contains(at, std::size_t(count) * stride))
        return std::nullopt;
    QPolygonF result;
    result.reserve(qsizetype(count));
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t p = at + i * stride;
        if (wide)
            result.append(QPointF(r.i32(p), r.i32(p + 4)));
        else
            result.append(QPointF(r.i16(p), r.i16(p + 2)));
    }
    return result;
}

} // namespace RecordValues
