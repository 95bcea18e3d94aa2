// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Limits and small helpers shared by the sources of GdiCanvas; not for other users.

#include <QImage>
#include <QList>
#include <QRect>
#include <QRegion>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace GdiCanvasHelpers {

constexpr int MaxSavedStates = 1024;
constexpr int MaxDashEntries = 16;
// More dashes than this along one stroke are drawn as a solid line: they
// would not be told apart, and counting them out costs without bound.
constexpr double MaxDashesPerStroke = 100000;
// A fixed cost per operation, so that many tiny ones also use up the budget.
constexpr qint64 OperationCost = 256;
constexpr double Pi = 3.14159265358979323846;
// Text is never set taller than this: a picture within the limits has no
// use for larger glyphs, and a measurement, which has no picture size to go
// by, keeps its font sizes sane.
constexpr double MaxTextHeight = 20000;
// A measurement sees drawing anywhere within this many device units of the origin.
constexpr int MeasuredLimit = 1 << 29;

inline bool finite(const QRectF &r)
{
    return std::isfinite(r.left()) && std::isfinite(r.top()) && std::isfinite(r.width()) &&
           std::isfinite(r.height());
}

inline bool finite(const QTransform &t)
{
    return std::isfinite(t.m11()) && std::isfinite(t.m12()) && std::isfinite(t.m21()) &&
           std::isfinite(t.m22()) && std::isfinite(t.dx()) && std::isfinite(t.dy());
}

// Rounds a device coordinate to a pixel edge, clamped so that it converts.
inline int pixelEdge(double v)
{
    if (!std::isfinite(v))
        return 0;
    return int(std::lround(std::clamp(v, -1.0e8, 1.0e8)));
}

inline QRect pixelRect(const QRectF &r)
{
    const QRectF n = r.normalized();
    const int left = pixelEdge(n.left());
    const int top = pixelEdge(n.top());
    const int right = pixelEdge(n.right());
    const int bottom = pixelEdge(n.bottom());
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

// The result of a ternary raster operation on pattern, source and
// destination bits: bit (p*4 + s*2 + d) of the code says the output.
inline std::uint32_t ternaryOp(int code, std::uint32_t p, std::uint32_t s, std::uint32_t d)
{
    std::uint32_t result = 0;
    for (int i = 0; i < 8; ++i) {
        if (((code >> i) & 1) == 0)
            continue;
        const std::uint32_t pp = (i & 4) ? p : ~p;
        const std::uint32_t ss = (i & 2) ? s : ~s;
        const std::uint32_t dd = (i & 1) ? d : ~d;
        result |= pp & ss & dd;
    }
    return result;
}

// The union of rectangles in any order, halving so that the work stays near
// n log n.
inline QRegion unionOf(const QList<QRect> &rects, qsizetype begin, qsizetype end)
{
    if (end - begin == 1)
        return QRegion(rects[begin]);
    if (end <= begin)
        return {};
    const qsizetype middle = begin + (end - begin) / 2;
    return unionOf(rects, begin, middle).united(unionOf(rects, middle, end));
}

// Bitmaps drawn smaller are smoothed; enlarged ones keep their square
// pixels, as the default stretching mode draws them.
inline bool shrinks(const QTransform &t, const QRectF &dest, const QImage &image)
{
    const QRectF device = t.mapRect(dest);
    return device.width() < image.width() || device.height() < image.height();
}

inline double angleOf(QPointF point, QPointF centre, double rx, double ry)
{
    // Qt measures arcs by the angle on the unscaled circle.
    return std::atan2(-(point.y() - centre.y()) / ry, (point.x() - centre.x()) / rx) * 180.0 / Pi;
}

} // namespace GdiCanvasHelpers
