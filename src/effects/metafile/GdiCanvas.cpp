#include "GdiCanvas.h"

#include <QBitmap>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPathStroker>

#include <uemf.h>

#include <algorithm>
#include <cmath>

namespace {

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

bool finite(const QRectF &r)
{
    return std::isfinite(r.left()) && std::isfinite(r.top()) && std::isfinite(r.width()) &&
           std::isfinite(r.height());
}

bool finite(const QTransform &t)
{
    return std::isfinite(t.m11()) && std::isfinite(t.m12()) && std::isfinite(t.m21()) &&
           std::isfinite(t.m22()) && std::isfinite(t.dx()) && std::isfinite(t.dy());
}

// Rounds a device coordinate to a pixel edge, clamped so that it converts.
int pixelEdge(double v)
{
    if (!std::isfinite(v))
        return 0;
    return int(std::lround(std::clamp(v, -1.0e8, 1.0e8)));
}

QRect pixelRect(const QRectF &r)
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
std::uint32_t ternaryOp(int code, std::uint32_t p, std::uint32_t s, std::uint32_t d)
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
QRegion unionOf(const QList<QRect> &rects, qsizetype begin, qsizetype end)
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
bool shrinks(const QTransform &t, const QRectF &dest, const QImage &image)
{
    const QRectF device = t.mapRect(dest);
    return device.width() < image.width() || device.height() < image.height();
}

double angleOf(QPointF point, QPointF centre, double rx, double ry)
{
    // Qt measures arcs by the angle on the unscaled circle.
    return std::atan2(-(point.y() - centre.y()) / ry, (point.x() - centre.x()) / rx) * 180.0 / Pi;
}

} // namespace

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

// ---- shapes ----

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

// ---- clipping and regions ----

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

// ---- text ----

QFont GdiCanvas::qtFont(double pixelHeight) const
{
    const GdiFont &f = m_state.font;
    QFont font;
    if (!f.face.isEmpty())
        font.setFamily(f.face);
    switch (f.pitchAndFamily & 0xF0) {
    case 0x10:
        font.setStyleHint(QFont::Serif);
        break;
    case 0x30:
        font.setStyleHint(QFont::TypeWriter);
        break;
    case 0x40:
        font.setStyleHint(QFont::Cursive);
        break;
    case 0x50:
        font.setStyleHint(QFont::Decorative);
        break;
    default:
        font.setStyleHint(QFont::SansSerif);
        break;
    }
    font.setPixelSize(std::max(1, int(std::lround(pixelHeight))));
    font.setWeight(QFont::Weight(std::clamp(f.weight == 0 ? 400 : f.weight, 100, 900)));
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    return font;
}

void GdiCanvas::textOut(QPointF reference, const QString &text, std::uint32_t options,
                        const std::optional<QRectF> &rect, const QList<double> &dx)
{
    if (m_pathOpen || m_state.rop2 == U_R2_NOP)
        return;
    const QTransform t = transform();
    const bool updateCp = m_state.textAlign & U_TA_UPDATECP;
    const QPointF anchor = updateCp ? m_state.current : reference;

    std::optional<QRegion> textClip;
    if (rect) {
        const QPolygonF box = t.map(QPolygonF(rect->normalized()));
        if ((options & U_ETO_OPAQUE) && spend(box.boundingRect()) && applyClip()) {
            QPainterPath p;
            p.addPolygon(box);
            m_painter.fillPath(p, m_state.backgroundColour);
        }
        if (options & U_ETO_CLIPPED)
            textClip = QRegion(box.toPolygon());
    }
    if (text.isEmpty())
        return;

    const QPointF origin = t.map(anchor);
    const double xScale = QLineF(t.map(QPointF(0, 0)), t.map(QPointF(1, 0))).length();
    const double yScale = QLineF(t.map(QPointF(0, 0)), t.map(QPointF(0, 1))).length();
    if (!std::isfinite(origin.x()) || !std::isfinite(origin.y()) || !std::isfinite(xScale) ||
        !std::isfinite(yScale))
        return;

    const double maxHeight =
        std::min(2.0 * std::max(m_area.width(), m_area.height()) + 16, MaxTextHeight);
    const GdiFont &f = m_state.font;
    double height = f.height == 0 ? 16.0 : std::abs(double(f.height)) * yScale;
    height = std::min(height, maxHeight);
    QFont font = qtFont(height);
    if (f.height > 0) {
        // A positive height is the cell height: ascent and descent together.
        const QFontMetricsF probe(font);
        const double cell = probe.ascent() + probe.descent();
        if (cell > 0)
            font = qtFont(std::min(height * height / cell, maxHeight));
    }
    const QFontMetricsF metrics(font);

    // Positions of each code unit along the baseline, in output pixels.
    QList<double> positions;
    double total = 0;
    if (!dx.isEmpty()) {
        positions.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            positions.append(total);
            const double step =
                i < dx.size() ? dx[i] * xScale : metrics.horizontalAdvance(text.at(i));
            total += std::isfinite(step) ? std::clamp(step, -1.0e6, 1.0e6) : 0;
        }
    } else {
        total = metrics.horizontalAdvance(text);
    }

    double x0 = 0;
    switch (m_state.textAlign & U_TA_CENTER) {
    case U_TA_RIGHT:
        x0 = -total;
        break;
    case U_TA_CENTER:
        x0 = -total / 2;
        break;
    default:
        break;
    }
    double y0 = 0;
    switch (m_state.textAlign & U_TA_BASELINE) {
    case U_TA_BASELINE:
        break;
    case U_TA_BOTTOM:
        y0 = -metrics.descent();
        break;
    default:
        y0 = metrics.ascent();
        break;
    }

    const double worldAngle = std::atan2(-m_state.world.m12(), m_state.world.m11()) * 180.0 / Pi;
    const double angle = f.escapement / 10.0 + (std::isfinite(worldAngle) ? worldAngle : 0);
    QTransform place;
    place.translate(origin.x(), origin.y());
    place.rotate(-angle);
    const QRectF cell(x0, y0 - metrics.ascent(), total, metrics.ascent() + metrics.descent());
    if (!spend(place.mapRect(cell)) || !applyClip())
        return;
    if (textClip)
        m_painter.setClipRegion(*textClip, Qt::IntersectClip);

    m_painter.setTransform(place);
    if (m_state.opaqueBackground)
        m_painter.fillRect(cell, m_state.backgroundColour);
    m_painter.setFont(font);
    m_painter.setPen(ropColour(m_state.textColour));
    if (positions.isEmpty()) {
        m_painter.drawText(QPointF(x0, y0), text);
    } else {
        for (qsizetype i = 0; i < text.size(); ++i) {
            qsizetype n = 1;
            if (text.at(i).isHighSurrogate() && i + 1 < text.size() &&
                text.at(i + 1).isLowSurrogate())
                n = 2;
            m_painter.drawText(QPointF(x0 + positions[i], y0), text.mid(i, n));
            i += n - 1;
        }
    }
    m_painter.resetTransform();

    if (updateCp && xScale > 0) {
        const double advance = total / xScale;
        if ((m_state.textAlign & U_TA_CENTER) == U_TA_LEFT)
            m_state.current.rx() += advance;
        else if ((m_state.textAlign & U_TA_CENTER) == U_TA_RIGHT)
            m_state.current.rx() -= advance;
    }
}

// ---- bitmaps ----

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
