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

// The device context, its transforms and saved copies, the drawing budget, the clip and
// the pens and brushes.

GdiCanvas::GdiCanvas(QImage &target, const QTransform &playback, QPointF devicePerMm,
                     qint64 drawBudget)
    : m_target(target)
    , m_measuring(false)
    , m_area(target.rect())
    , m_painter(&target)
    , m_playback(playback)
    , m_devicePerMm(devicePerMm)
    , m_budget(drawBudget)
{
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.setRenderHint(QPainter::TextAntialiasing);
}

// The whole coordinate range is the picture, so that drawing outside any
// frame is seen; every operation fails at spend(), so nothing is painted.
GdiCanvas::GdiCanvas(Measure, const QRectF &frame, QPointF devicePerMm, qint64 operationBudget)
    : m_target(m_noTarget)
    , m_measuring(true)
    , m_area(QPoint(-MeasuredLimit, -MeasuredLimit), QPoint(MeasuredLimit, MeasuredLimit))
    , m_devicePerMm(devicePerMm)
    , m_budget(operationBudget)
{
    m_measurement.frame = frame;
}

GdiCanvas::~GdiCanvas() = default;

QTransform GdiCanvas::pageTransform() const
{
    const GdiState &s = m_state;
    double sx = 1;
    double sy = 1;
    auto fixed = [&](double unitsPerMm) {
        sx = m_devicePerMm.x() / unitsPerMm;
        sy = -m_devicePerMm.y() / unitsPerMm;
    };
    switch (s.mapMode) {
    case U_MM_LOMETRIC:
        fixed(10);
        break;
    case U_MM_HIMETRIC:
        fixed(100);
        break;
    case U_MM_LOENGLISH:
        fixed(100 / 25.4);
        break;
    case U_MM_HIENGLISH:
        fixed(1000 / 25.4);
        break;
    case U_MM_TWIPS:
        fixed(1440 / 25.4);
        break;
    case U_MM_ISOTROPIC:
    case U_MM_ANISOTROPIC:
        if (s.windowExt.width() != 0 && s.windowExt.height() != 0) {
            sx = s.viewportExt.width() / s.windowExt.width();
            sy = s.viewportExt.height() / s.windowExt.height();
        }
        if (s.mapMode == U_MM_ISOTROPIC) {
            const double m = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(m, sx);
            sy = std::copysign(m, sy);
        }
        break;
    default:
        break;
    }
    return QTransform(sx, 0, 0, sy, s.viewportOrg.x() - s.windowOrg.x() * sx,
                      s.viewportOrg.y() - s.windowOrg.y() * sy);
}

QTransform GdiCanvas::transform() const
{
    return m_state.world * pageTransform() * m_playback;
}

double GdiCanvas::lineScale() const
{
    const double scale = std::sqrt(std::abs(transform().determinant()));
    return std::isfinite(scale) ? scale : 0;
}

void GdiCanvas::setWorldTransform(const QTransform &world)
{
    if (finite(world) && world.isInvertible())
        m_state.world = world;
}

void GdiCanvas::modifyWorldTransform(const QTransform &matrix, int mode)
{
    switch (mode) {
    case U_MWT_IDENTITY:
        m_state.world = QTransform();
        break;
    case U_MWT_LEFTMULTIPLY:
        setWorldTransform(matrix * m_state.world);
        break;
    case U_MWT_RIGHTMULTIPLY:
        setWorldTransform(m_state.world * matrix);
        break;
    case 4: // set
        setWorldTransform(matrix);
        break;
    default:
        break;
    }
}

void GdiCanvas::scaleWindowExt(double xNum, double xDenom, double yNum, double yDenom)
{
    if (xDenom == 0 || yDenom == 0)
        return;
    const QSizeF e(m_state.windowExt.width() * xNum / xDenom,
                   m_state.windowExt.height() * yNum / yDenom);
    if (e.width() != 0 && e.height() != 0)
        m_state.windowExt = e;
}

void GdiCanvas::scaleViewportExt(double xNum, double xDenom, double yNum, double yDenom)
{
    if (xDenom == 0 || yDenom == 0)
        return;
    const QSizeF e(m_state.viewportExt.width() * xNum / xDenom,
                   m_state.viewportExt.height() * yNum / yDenom);
    if (e.width() != 0 && e.height() != 0)
        m_state.viewportExt = e;
}

void GdiCanvas::saveDc()
{
    if (m_saved.size() < MaxSavedStates)
        m_saved.push_back(m_state);
}

void GdiCanvas::restoreDc(int which)
{
    // Negative: relative to the latest save; positive: the n-th save.
    const qint64 count = qint64(m_saved.size());
    const qint64 index = which < 0 ? count + which : qint64(which) - 1;
    if (which == 0 || index < 0 || index >= count)
        return;
    m_state = m_saved[std::size_t(index)];
    m_saved.resize(std::size_t(index));
}

// ---- budget, clip and pens ----

// Takes the cost of an operation over deviceBounds from the budget; false
// once the budget is used up.
bool GdiCanvas::charge(const QRectF &deviceBounds)
{
    if (m_budget < 0)
        return false;
    qint64 cost = OperationCost;
    if (!m_measuring && finite(deviceBounds)) {
        const QRectF visible = deviceBounds.intersected(QRectF(m_area));
        cost += qint64(visible.width()) * qint64(visible.height());
    }
    m_budget -= cost;
    return m_budget >= 0;
}

// Charges a drawing operation; false when it must not paint. While
// measuring, the visible part of its bounds is recorded instead.
bool GdiCanvas::spend(const QRectF &deviceBounds)
{
    if (!charge(deviceBounds))
        return false;
    if (m_measuring) {
        QRectF visible = deviceBounds.normalized().intersected(QRectF(m_area));
        if (m_state.clip)
            visible = visible.intersected(QRectF(m_state.clip->boundingRect()));
        if (finite(visible) && !visible.isEmpty()) {
            Measurement &m = m_measurement;
            m.extent = m.extent.united(visible);
            m.area += visible.width() * visible.height();
            const QRectF inFrame = visible.intersected(m.frame);
            if (!inFrame.isEmpty())
                m.areaInFrame += inFrame.width() * inFrame.height();
        }
        return false;
    }
    return true;
}

bool GdiCanvas::applyClip()
{
    m_painter.resetTransform();
    if (!m_state.clip) {
        m_painter.setClipping(false);
        return true;
    }
    if (m_state.clip->isEmpty())
        return false;
    m_painter.setClipRegion(*m_state.clip);
    return true;
}

QRegion GdiCanvas::wholePicture() const
{
    return QRegion(m_area);
}

void GdiCanvas::setClip(const QRegion &region, int mode)
{
    const QRegion current = m_state.clip ? *m_state.clip : wholePicture();
    switch (mode) {
    case U_RGN_AND:
        m_state.clip = current.intersected(region);
        break;
    case U_RGN_OR:
        m_state.clip = current.united(region);
        break;
    case U_RGN_XOR:
        m_state.clip = current.xored(region);
        break;
    case U_RGN_DIFF:
        m_state.clip = current.subtracted(region);
        break;
    case U_RGN_COPY:
        m_state.clip = region;
        break;
    default:
        break;
    }
}

QColor GdiCanvas::ropColour(const QColor &colour) const
{
    switch (m_state.rop2) {
    case U_R2_BLACK:
        return Qt::black;
    case U_R2_WHITE:
        return Qt::white;
    case U_R2_NOTCOPYPEN:
        return QColor(255 - colour.red(), 255 - colour.green(), 255 - colour.blue());
    default:
        return colour;
    }
}

QBrush GdiCanvas::qtBrush(const GdiBrush &brush) const
{
    switch (brush.kind) {
    case GdiBrush::Kind::Null:
        return Qt::NoBrush;
    case GdiBrush::Kind::Hatched: {
        static constexpr Qt::BrushStyle styles[] = {Qt::HorPattern,   Qt::VerPattern,
                                                    Qt::FDiagPattern, Qt::BDiagPattern,
                                                    Qt::CrossPattern, Qt::DiagCrossPattern};
        if (brush.hatch >= 0 && brush.hatch < 6)
            return QBrush(ropColour(brush.colour), styles[brush.hatch]);
        return QBrush(ropColour(brush.colour));
    }
    case GdiBrush::Kind::Pattern:
        if (!brush.pattern.isNull()) {
            QBrush b(brush.pattern);
            b.setTransform(
                QTransform::fromTranslate(m_state.brushOrigin.x(), m_state.brushOrigin.y()));
            return b;
        }
        return QBrush(ropColour(brush.colour));
    case GdiBrush::Kind::Solid:
        break;
    }
    return QBrush(ropColour(brush.colour));
}

QPen GdiCanvas::qtPen(const QPainterPath &devicePath) const
{
    const GdiPen &pen = m_state.pen;
    const double width = pen.width <= 0 ? 1.0 : std::max(1.0, pen.width * lineScale());
    QPen qp(ropColour(pen.colour), std::min(width, 1.0e6));
    switch (pen.style & U_PS_ENDCAP_MASK) {
    case U_PS_ENDCAP_SQUARE:
        qp.setCapStyle(Qt::SquareCap);
        break;
    case U_PS_ENDCAP_FLAT:
        qp.setCapStyle(Qt::FlatCap);
        break;
    default:
        qp.setCapStyle(Qt::RoundCap);
        break;
    }
    switch (pen.style & U_PS_JOIN_MASK) {
    case U_PS_JOIN_BEVEL:
        qp.setJoinStyle(Qt::BevelJoin);
        break;
    case U_PS_JOIN_MITER:
        qp.setJoinStyle(Qt::MiterJoin);
        qp.setMiterLimit(std::clamp(m_state.miterLimit, 1.0, 100.0));
        break;
    default:
        qp.setJoinStyle(Qt::RoundJoin);
        break;
    }
    QList<qreal> pattern;
    switch (pen.style & U_PS_STYLE_MASK) {
    case U_PS_DASH:
        pattern = {4, 2};
        break;
    case U_PS_DOT:
    case U_PS_ALTERNATE:
        pattern = {1, 1};
        break;
    case U_PS_DASHDOT:
        pattern = {4, 2, 1, 2};
        break;
    case U_PS_DASHDOTDOT:
        pattern = {4, 2, 1, 2, 1, 2};
        break;
    case U_PS_USERSTYLE:
        for (double d : pen.dashes) {
            if (pattern.size() >= MaxDashEntries)
                break;
            const double v = d * lineScale() / width;
            pattern.append(std::isfinite(v) ? std::clamp(v, 0.1, 1.0e6) : 1.0);
        }
        if (pattern.size() % 2)
            pattern.append(pattern.back());
        break;
    default:
        break;
    }
    if (!pattern.isEmpty()) {
        double period = 0;
        for (qreal v : pattern)
            period += v * width;
        if (period > 0 && devicePath.length() / period < MaxDashesPerStroke) {
            if (pen.width <= 0 || pen.style & U_PS_GEOMETRIC)
                qp.setCapStyle(Qt::FlatCap);
            qp.setDashPattern(pattern);
        }
    }
    return qp;
}
