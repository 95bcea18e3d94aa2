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

// Lines, curves and closed shapes, and the open path they can be gathered into.

void GdiCanvas::drawShape(const QPainterPath &logical, bool fill, bool stroke)
{
    const QPainterPath device = transform().map(logical);
    if (m_pathOpen) {
        addToPath(device, false);
        return;
    }
    paint(device, fill, stroke);
}

// The drawing that starts at the current position joins the figure of an open path.
void GdiCanvas::drawConnected(const QPainterPath &logical)
{
    const QPainterPath device = transform().map(logical);
    if (m_pathOpen) {
        addToPath(device, true);
        return;
    }
    paint(device, false, true);
}

void GdiCanvas::addToPath(const QPainterPath &devicePath, bool connect)
{
    if (connect && m_path.elementCount() > 0)
        m_path.connectPath(devicePath);
    else
        m_path.addPath(devicePath);
}

void GdiCanvas::fillDevice(const QPainterPath &devicePath, const GdiBrush &brush)
{
    if (brush.kind == GdiBrush::Kind::Null)
        return;
    if (brush.kind == GdiBrush::Kind::Hatched && m_state.opaqueBackground)
        m_painter.fillPath(devicePath, ropColour(m_state.backgroundColour));
    m_painter.fillPath(devicePath, qtBrush(brush));
}

void GdiCanvas::paint(QPainterPath devicePath, bool fill, bool stroke)
{
    if (m_state.rop2 == U_R2_NOP)
        return;
    const bool withPen = stroke && !m_state.pen.isNull();
    const bool withBrush = fill && m_state.brush.kind != GdiBrush::Kind::Null;
    if (!withPen && !withBrush)
        return;
    QRectF bounds = devicePath.controlPointRect();
    if (!finite(bounds))
        return;
    QPen pen;
    if (withPen) {
        pen = qtPen(devicePath);
        const double w = pen.widthF();
        bounds.adjust(-w, -w, w, w);
    }
    if (!spend(bounds) || !applyClip())
        return;
    devicePath.setFillRule(m_state.fillRule);
    if (withBrush)
        fillDevice(devicePath, m_state.brush);
    if (withPen) {
        if (pen.style() == Qt::CustomDashLine && m_state.opaqueBackground) {
            QPen gaps = pen;
            gaps.setStyle(Qt::SolidLine);
            gaps.setColor(ropColour(m_state.backgroundColour));
            m_painter.strokePath(devicePath, gaps);
        }
        m_painter.strokePath(devicePath, pen);
    }
}

void GdiCanvas::moveTo(QPointF point)
{
    m_state.current = point;
    if (m_pathOpen)
        m_path.moveTo(transform().map(point));
}

void GdiCanvas::lineTo(QPointF point)
{
    QPainterPath line;
    line.moveTo(m_state.current);
    line.lineTo(point);
    m_state.current = point;
    drawConnected(line);
}

void GdiCanvas::polyline(const QPolygonF &points)
{
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.addPolygon(points);
    drawShape(path, false, true);
}

void GdiCanvas::polylineTo(const QPolygonF &points)
{
    if (points.isEmpty())
        return;
    QPainterPath path;
    path.moveTo(m_state.current);
    for (const QPointF &p : points)
        path.lineTo(p);
    m_state.current = points.back();
    drawConnected(path);
}

void GdiCanvas::polygon(const QPolygonF &points)
{
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    drawShape(path, true, true);
}

void GdiCanvas::polyPolygon(const QList<QPolygonF> &polygons)
{
    QPainterPath path;
    for (const QPolygonF &p : polygons) {
        if (p.size() < 2)
            continue;
        path.addPolygon(p);
        path.closeSubpath();
    }
    drawShape(path, true, true);
}

void GdiCanvas::polyPolyline(const QList<QPolygonF> &lines)
{
    QPainterPath path;
    for (const QPolygonF &p : lines) {
        if (p.size() >= 2)
            path.addPolygon(p);
    }
    drawShape(path, false, true);
}

void GdiCanvas::polyBezier(const QPolygonF &points)
{
    if (points.size() < 4)
        return;
    QPainterPath path(points[0]);
    for (qsizetype i = 1; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    drawShape(path, false, true);
}

void GdiCanvas::polyBezierTo(const QPolygonF &points)
{
    if (points.size() < 3)
        return;
    QPainterPath path(m_state.current);
    qsizetype i = 0;
    for (; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    m_state.current = points[i - 1];
    drawConnected(path);
}

void GdiCanvas::polyDraw(const QPolygonF &points, const QByteArray &types)
{
    QPainterPath path(m_state.current);
    QPointF figureStart = m_state.current;
    const qsizetype n = std::min(points.size(), types.size());
    for (qsizetype i = 0; i < n; ++i) {
        const int type = types[i] & ~U_PT_CLOSEFIGURE;
        if (type == U_PT_MOVETO) {
            path.moveTo(points[i]);
            figureStart = points[i];
        } else if (type == U_PT_LINETO) {
            path.lineTo(points[i]);
        } else if (type == U_PT_BEZIERTO && i + 2 < n) {
            path.cubicTo(points[i], points[i + 1], points[i + 2]);
            i += 2;
        } else {
            break; // an unknown point type ends the figure list
        }
        m_state.current = points[i];
        if (types[i] & U_PT_CLOSEFIGURE) {
            path.closeSubpath();
            m_state.current = figureStart;
        }
    }
    drawConnected(path);
}

void GdiCanvas::rectangle(const QRectF &rect)
{
    QPainterPath path;
    path.addRect(rect.normalized());
    drawShape(path, true, true);
}

void GdiCanvas::roundRect(const QRectF &rect, QSizeF corner)
{
    QPainterPath path;
    const QRectF r = rect.normalized();
    const double rx = std::min(std::abs(corner.width()) / 2, r.width() / 2);
    const double ry = std::min(std::abs(corner.height()) / 2, r.height() / 2);
    path.addRoundedRect(r, rx, ry);
    drawShape(path, true, true);
}

void GdiCanvas::ellipse(const QRectF &rect)
{
    QPainterPath path;
    path.addEllipse(rect.normalized());
    drawShape(path, true, true);
}

void GdiCanvas::arc(const QRectF &box, QPointF start, QPointF end, ArcKind kind)
{
    const QRectF r = box.normalized();
    const double rx = r.width() / 2;
    const double ry = r.height() / 2;
    if (!(rx > 0) || !(ry > 0))
        return;
    const QPointF c = r.center();
    const double a0 = angleOf(start, c, rx, ry);
    const double a1 = angleOf(end, c, rx, ry);
    // The direction is as seen on the device, so a flipping mapping turns it.
    const bool positive = (!m_state.clockwise) != (transform().determinant() < 0);
    double sweep =
        positive ? std::fmod(a1 - a0 + 720.0, 360.0) : -std::fmod(a0 - a1 + 720.0, 360.0);
    if (sweep == 0)
        sweep = positive ? 360 : -360;

    QPainterPath path;
    switch (kind) {
    case ArcKind::Arc:
        path.arcMoveTo(r, a0);
        path.arcTo(r, a0, sweep);
        drawShape(path, false, true);
        break;
    case ArcKind::ArcTo: {
        path.moveTo(m_state.current);
        path.arcTo(r, a0, sweep);
        m_state.current = path.currentPosition();
        drawConnected(path);
        break;
    }
    case ArcKind::Chord:
        path.arcMoveTo(r, a0);
        path.arcTo(r, a0, sweep);
        path.closeSubpath();
        drawShape(path, true, true);
        break;
    case ArcKind::Pie:
        path.moveTo(c);
        path.arcTo(r, a0, sweep);
        path.closeSubpath();
        drawShape(path, true, true);
        break;
    }
}

void GdiCanvas::angleArc(QPointF centre, double radius, double startDegrees, double sweepDegrees)
{
    if (!std::isfinite(startDegrees) || !std::isfinite(sweepDegrees) || !(radius > 0))
        return;
    const QRectF r(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath path(m_state.current);
    path.arcTo(r, std::fmod(startDegrees, 360.0), std::clamp(sweepDegrees, -360.0, 360.0));
    m_state.current = path.currentPosition();
    drawConnected(path);
}

void GdiCanvas::setPixel(QPointF point, const QColor &colour)
{
    const QPointF p = transform().map(point);
    const QRectF pixel(std::floor(p.x()), std::floor(p.y()), 1, 1);
    if (!finite(pixel) || !spend(pixel) || !applyClip())
        return;
    m_painter.fillRect(pixel, colour);
}

// ---- paths ----

void GdiCanvas::beginPath()
{
    m_path = QPainterPath();
    m_path.moveTo(transform().map(m_state.current));
    m_pathOpen = true;
}

void GdiCanvas::abortPath()
{
    m_path = QPainterPath();
    m_pathOpen = false;
}

void GdiCanvas::closeFigure()
{
    if (m_pathOpen)
        m_path.closeSubpath();
}

void GdiCanvas::fillPath()
{
    if (m_pathOpen)
        return;
    paint(m_path, true, false);
    m_path = QPainterPath();
}

void GdiCanvas::strokePath()
{
    if (m_pathOpen)
        return;
    paint(m_path, false, true);
    m_path = QPainterPath();
}

void GdiCanvas::strokeAndFillPath()
{
    if (m_pathOpen)
        return;
    paint(m_path, true, true);
    m_path = QPainterPath();
}

void GdiCanvas::widenPath()
{
    if (m_pathOpen || m_state.pen.isNull())
        return;
    QPainterPathStroker stroker(qtPen(m_path));
    stroker.setDashPattern(Qt::SolidLine);
    m_path = stroker.createStroke(m_path);
    m_path.setFillRule(Qt::WindingFill);
}

QRegion GdiCanvas::regionFromPath(const QPainterPath &devicePath) const
{
    const QRectF bounds = devicePath.controlPointRect();
    if (!finite(bounds))
        return {};
    const QRect area = bounds.toAlignedRect().intersected(m_area);
    if (area.isEmpty() || m_measuring)
        return QRegion(area); // the extent is all a measurement needs
    QBitmap mask(area.size());
    mask.clear();
    {
        QPainter p(&mask);
        p.translate(-area.topLeft());
        QPainterPath path = devicePath;
        path.setFillRule(m_state.fillRule);
        p.fillPath(path, Qt::color1);
    }
    return QRegion(mask).translated(area.topLeft());
}

void GdiCanvas::selectClipPath(int mode)
{
    if (m_pathOpen)
        return;
    if (charge(m_path.controlPointRect()))
        setClip(regionFromPath(m_path), mode);
    m_path = QPainterPath();
}
