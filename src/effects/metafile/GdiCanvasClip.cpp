// SPDX-License-Identifier: GPL-3.0-or-later
#include "GdiCanvas.h"
#include "GdiCanvasHelpers.h"

#include <QBitmap>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPathStroker>

#include <uemf.h>

#include <algorithm>
#include <cmath>

using namespace GdiCanvasHelpers;

// Clipping and regions.

void GdiCanvas::intersectClipRect(const QRectF &rect)
{
    setClip(regionFromLogical({pixelRect(rect).adjusted(0, 0, 1, 1)}), U_RGN_AND);
}

void GdiCanvas::excludeClipRect(const QRectF &rect)
{
    setClip(regionFromLogical({pixelRect(rect).adjusted(0, 0, 1, 1)}), U_RGN_DIFF);
}

void GdiCanvas::offsetClip(QPointF offset)
{
    if (!m_state.clip)
        return;
    const QTransform t = transform();
    const QPointF d = t.map(offset) - t.map(QPointF(0, 0));
    m_state.clip->translate(pixelEdge(d.x()), pixelEdge(d.y()));
}

void GdiCanvas::selectClipRegion(const std::optional<QRegion> &region, int mode)
{
    if (!region) {
        if (mode == U_RGN_COPY)
            m_state.clip.reset();
        return;
    }
    setClip(*region, mode);
}

QRegion GdiCanvas::regionFromDevice(const QList<QRect> &rects) const
{
    QList<QRect> mapped;
    mapped.reserve(rects.size());
    for (const QRect &r : rects) {
        const QRect m = pixelRect(m_playback.mapRect(QRectF(r)));
        if (!m.isEmpty())
            mapped.append(m);
    }
    return unionOf(mapped, 0, mapped.size());
}

QRegion GdiCanvas::regionFromLogical(const QList<QRect> &rects) const
{
    const QTransform t = transform();
    QList<QRect> mapped;
    mapped.reserve(rects.size());
    for (const QRect &r : rects) {
        const QRect m = pixelRect(t.mapRect(QRectF(r)));
        if (!m.isEmpty())
            mapped.append(m);
    }
    return unionOf(mapped, 0, mapped.size());
}

void GdiCanvas::fillRegion(const QRegion &region, const GdiBrush &brush)
{
    if (region.isEmpty() || !spend(region.boundingRect()) || !applyClip())
        return;
    QPainterPath path;
    path.addRegion(region);
    fillDevice(path, brush);
}

void GdiCanvas::frameRegion(const QRegion &region, const GdiBrush &brush, QSizeF stroke)
{
    if (region.isEmpty())
        return;
    const QPointF d =
        transform().map(QPointF(stroke.width(), stroke.height())) - transform().map(QPointF(0, 0));
    const int w = std::clamp(pixelEdge(std::abs(d.x())), 1, 1000);
    const int h = std::clamp(pixelEdge(std::abs(d.y())), 1, 1000);
    // The frame is the region less the region shrunk by the stroke size.
    QRegion inner = region;
    inner = inner.intersected(region.translated(w, 0)).intersected(region.translated(-w, 0));
    inner = inner.intersected(region.translated(0, h)).intersected(region.translated(0, -h));
    fillRegion(region.subtracted(inner), brush);
}
