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

// Bitmaps, raster operations and gradients.

// Cuts the source rectangle to the bitmap and shrinks the destination to
// match; mirrored rectangles mirror the bitmap.
bool GdiCanvas::sourceFor(const QImage &source, const QRectF &sourceRect, QRectF &dest,
                          QImage &clipped)
{
    if (source.isNull() || !finite(sourceRect) || !finite(dest))
        return false;
    bool mirrorX = (sourceRect.width() < 0) != (dest.width() < 0);
    bool mirrorY = (sourceRect.height() < 0) != (dest.height() < 0);
    const QRectF s = sourceRect.normalized();
    QRectF d = dest.normalized();
    if (s.width() <= 0 || s.height() <= 0 || d.width() <= 0 || d.height() <= 0)
        return false;
    const QRectF visible = s.intersected(QRectF(source.rect()));
    if (visible.isEmpty())
        return false;
    const double kx = d.width() / s.width();
    const double ky = d.height() / s.height();
    const double left = mirrorX ? s.right() - visible.right() : visible.left() - s.left();
    const double top = mirrorY ? s.bottom() - visible.bottom() : visible.top() - s.top();
    dest = QRectF(d.left() + left * kx, d.top() + top * ky, visible.width() * kx,
                  visible.height() * ky);
    clipped = source.copy(visible.toAlignedRect());
    if (mirrorX || mirrorY)
        clipped = clipped.mirrored(mirrorX, mirrorY);
    return !clipped.isNull();
}

void GdiCanvas::blit(const QRectF &dest, const QImage &source, const QRectF &sourceRect,
                     std::uint32_t rop)
{
    if (m_pathOpen)
        return;
    const int rop3 = int((rop >> 16) & 0xFF);
    const bool usesSource = ((rop3 >> 2) & 0x33) != (rop3 & 0x33);
    if (rop3 == 0xAA) // leaves the destination as it is
        return;
    if (m_measuring) { // the bitmap is not decoded for a measurement
        spend(transform().mapRect(dest.normalized()));
        return;
    }
    if (!usesSource) {
        const QRectF d = dest.normalized();
        if (rop3 == 0xF0) { // the brush alone
            QPainterPath path;
            path.addRect(d);
            const QPainterPath device = transform().map(path);
            if (!spend(device.controlPointRect()) || !applyClip())
                return;
            fillDevice(device, m_state.brush);
            return;
        }
        rasterOp(d, QImage(), rop3);
        return;
    }
    QRectF d = dest;
    QImage clipped;
    if (!sourceFor(source, sourceRect, d, clipped))
        return;
    if (rop3 != 0xCC) {
        rasterOp(d, clipped, rop3);
        return;
    }
    const QTransform t = transform();
    if (!spend(t.mapRect(d)) || !applyClip())
        return;
    m_painter.setTransform(t);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, shrinks(t, d, clipped));
    m_painter.drawImage(d, clipped);
    m_painter.resetTransform();
}

// Combines pattern, source and destination bit by bit. A transparent
// destination reads as white, and keeps its transparency wherever the
// operation leaves it unchanged: so a mask and-ed in and an image or-ed on
// top leave the bitmap's background transparent, as on a white page.
void GdiCanvas::rasterOp(const QRectF &dest, const QImage &source, int rop3)
{
    const QTransform t = transform();
    const QRectF bounds = t.mapRect(dest);
    if (!finite(bounds) || !spend(bounds))
        return;
    QRect area = bounds.toAlignedRect().intersected(m_area);
    if (m_state.clip)
        area = area.intersected(m_state.clip->boundingRect());
    if (area.isEmpty())
        return;
    QImage layer(area.size(), QImage::Format_ARGB32_Premultiplied);
    if (layer.isNull())
        return;
    layer.fill(Qt::transparent);
    {
        QPainter p(&layer);
        if (m_state.clip)
            p.setClipRegion(m_state.clip->translated(-area.topLeft()));
        p.translate(-area.topLeft());
        p.setTransform(t, true);
        if (source.isNull())
            p.fillRect(dest, Qt::white);
        else
            p.drawImage(dest, source);
    }
    const bool usesDest = ((rop3 >> 1) & 0x55) != (rop3 & 0x55);
    const QColor brushColour =
        m_state.brush.kind == GdiBrush::Kind::Null ? QColor(Qt::white) : m_state.brush.colour;
    const QImage &pattern = m_state.brush.pattern;
    const bool usePattern = m_state.brush.kind == GdiBrush::Kind::Pattern && !pattern.isNull();
    const QImage patternArgb =
        usePattern ? pattern.convertToFormat(QImage::Format_ARGB32) : QImage();
    const std::uint32_t solid = brushColour.rgb() & 0xFFFFFF;

    if (m_target.format() != QImage::Format_ARGB32_Premultiplied)
        return;
    for (int y = 0; y < area.height(); ++y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(layer.constScanLine(y));
        QRgb *out = reinterpret_cast<QRgb *>(m_target.scanLine(area.top() + y)) + area.left();
        for (int x = 0; x < area.width(); ++x) {
            if (qAlpha(in[x]) < 128)
                continue;
            const QRgb s = qUnpremultiply(in[x]) & 0xFFFFFF;
            const QRgb dPixel = out[x];
            const bool transparent = qAlpha(dPixel) == 0;
            const std::uint32_t d = transparent ? 0xFFFFFF : (qUnpremultiply(dPixel) & 0xFFFFFF);
            std::uint32_t p = solid;
            if (usePattern) {
                const int px = (area.left() + x) % patternArgb.width();
                const int py = (area.top() + y) % patternArgb.height();
                p = patternArgb.pixel(px, py) & 0xFFFFFF;
            }
            const std::uint32_t r = ternaryOp(rop3, p, s, d) & 0xFFFFFF;
            if (usesDest && r == d && qAlpha(dPixel) < 255)
                continue;
            out[x] = 0xFF000000u | r;
        }
    }
}

void GdiCanvas::alphaBlend(const QRectF &dest, const QImage &source, const QRectF &sourceRect,
                           int constantAlpha)
{
    if (m_pathOpen)
        return;
    if (m_measuring) {
        spend(transform().mapRect(dest.normalized()));
        return;
    }
    QRectF d = dest;
    QImage clipped;
    if (!sourceFor(source, sourceRect, d, clipped))
        return;
    const QTransform t = transform();
    if (!spend(t.mapRect(d)) || !applyClip())
        return;
    m_painter.setTransform(t);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, shrinks(t, d, clipped));
    m_painter.setOpacity(std::clamp(constantAlpha, 0, 255) / 255.0);
    m_painter.drawImage(d, clipped);
    m_painter.setOpacity(1);
    m_painter.resetTransform();
}

void GdiCanvas::transparentBlt(const QRectF &dest, const QImage &source, const QRectF &sourceRect,
                               QRgb transparent)
{
    QImage keyed = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < keyed.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == (transparent & 0xFFFFFF))
                line[x] = 0;
        }
    }
    alphaBlend(dest, keyed, sourceRect, 255);
}

void GdiCanvas::gradientRect(const QRectF &rect, const QColor &from, const QColor &to,
                             bool vertical)
{
    if (m_pathOpen)
        return;
    const QRectF r = rect.normalized();
    QPainterPath path;
    path.addRect(r);
    const QPainterPath device = transform().map(path);
    if (!spend(device.controlPointRect()) || !applyClip())
        return;
    const QTransform t = transform();
    QLinearGradient gradient(t.map(r.topLeft()), t.map(vertical ? r.bottomLeft() : r.topRight()));
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    m_painter.fillPath(device, gradient);
}

void GdiCanvas::gradientTriangle(const QPolygonF &triangle, const QColor &colour)
{
    if (m_pathOpen)
        return;
    QPainterPath path;
    path.addPolygon(triangle);
    path.closeSubpath();
    const QPainterPath device = transform().map(path);
    if (!spend(device.controlPointRect()) || !applyClip())
        return;
    m_painter.fillPath(device, colour);
}
