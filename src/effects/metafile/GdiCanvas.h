// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GdiState.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <vector>

// Draws the operations of a metafile, in its logical units, onto a picture
// with QPainter. Both the enhanced and the Windows metafile players drive it;
// it keeps the device context and its saved copies, the open path and a
// budget of painted area that stops hostile files from drawing for ever.
class GdiCanvas
{
public:
    enum class ArcKind
    {
        Arc,
        ArcTo,
        Chord,
        Pie
    };

    // playback maps the metafile's device units onto the picture's pixels;
    // devicePerMm is the number of device units in a millimetre, used by the
    // metric and English mapping modes.
    GdiCanvas(QImage &target, const QTransform &playback, QPointF devicePerMm, qint64 drawBudget);
    // Follows the records in device units without painting anything, and
    // collects where they would draw (within the clip) and how much of that
    // falls inside frame.
    struct Measure
    {
    };
    struct Measurement
    {
        QRectF frame;
        QRectF extent;          // the union of everything drawn
        double area = 0;        // the areas of the drawing operations added up
        double areaInFrame = 0; // the same for their parts inside the frame
    };
    GdiCanvas(Measure, const QRectF &frame, QPointF devicePerMm, qint64 operationBudget);
    ~GdiCanvas();
    Q_DISABLE_COPY_MOVE(GdiCanvas)

    GdiState &state() { return m_state; }
    const QTransform &playback() const { return m_playback; }
    QTransform transform() const;
    bool exhausted() const { return m_budget < 0; }
    bool measuring() const { return m_measuring; }
    const Measurement &measurement() const { return m_measurement; }

    void setWorldTransform(const QTransform &world);
    void modifyWorldTransform(const QTransform &matrix, int mode);
    void scaleWindowExt(double xNum, double xDenom, double yNum, double yDenom);
    void scaleViewportExt(double xNum, double xDenom, double yNum, double yDenom);
    void selectPen(const GdiPen &pen) { m_state.pen = pen; }
    void selectBrush(const GdiBrush &brush) { m_state.brush = brush; }
    void selectFont(const GdiFont &font) { m_state.font = font; }
    void saveDc();
    void restoreDc(int which);

    void moveTo(QPointF point);
    void lineTo(QPointF point);
    void polyline(const QPolygonF &points);
    void polylineTo(const QPolygonF &points);
    void polygon(const QPolygonF &points);
    void polyPolygon(const QList<QPolygonF> &polygons);
    void polyPolyline(const QList<QPolygonF> &lines);
    void polyBezier(const QPolygonF &points);
    void polyBezierTo(const QPolygonF &points);
    void polyDraw(const QPolygonF &points, const QByteArray &types);
    void rectangle(const QRectF &rect);
    void roundRect(const QRectF &rect, QSizeF corner);
    void ellipse(const QRectF &rect);
    void arc(const QRectF &box, QPointF start, QPointF end, ArcKind kind);
    void angleArc(QPointF centre, double radius, double startDegrees, double sweepDegrees);
    void setPixel(QPointF point, const QColor &colour);

    void beginPath();
    void endPath() { m_pathOpen = false; }
    void abortPath();
    void closeFigure();
    void fillPath();
    void strokePath();
    void strokeAndFillPath();
    void widenPath();
    void selectClipPath(int mode);

    void intersectClipRect(const QRectF &rect);
    void excludeClipRect(const QRectF &rect);
    void offsetClip(QPointF offset);
    // region in output pixels; none resets the clip (with the copy mode)
    void selectClipRegion(const std::optional<QRegion> &region, int mode);
    QRegion regionFromDevice(const QList<QRect> &rects) const;
    QRegion regionFromLogical(const QList<QRect> &rects) const;
    void fillRegion(const QRegion &region, const GdiBrush &brush);
    void frameRegion(const QRegion &region, const GdiBrush &brush, QSizeF stroke);

    void textOut(QPointF reference, const QString &text, std::uint32_t options,
                 const std::optional<QRectF> &rect, const QList<double> &dx);

    // Raster operation of a bitmap (or of the brush alone when source is null)
    // onto the logical destination rectangle.
    void blit(const QRectF &dest, const QImage &source, const QRectF &sourceRect,
              std::uint32_t rop);
    void alphaBlend(const QRectF &dest, const QImage &source, const QRectF &sourceRect,
                    int constantAlpha);
    void transparentBlt(const QRectF &dest, const QImage &source, const QRectF &sourceRect,
                        QRgb transparent);
    void gradientRect(const QRectF &rect, const QColor &from, const QColor &to, bool vertical);
    void gradientTriangle(const QPolygonF &triangle, const QColor &colour);

private:
    QTransform pageTransform() const;
    double lineScale() const;
    bool charge(const QRectF &deviceBounds);
    bool spend(const QRectF &deviceBounds);
    bool applyClip();
    void setClip(const QRegion &region, int mode);
    QRegion wholePicture() const;
    QRegion regionFromPath(const QPainterPath &devicePath) const;
    QColor ropColour(const QColor &colour) const;
    QBrush qtBrush(const GdiBrush &brush) const;
    QPen qtPen(const QPainterPath &devicePath) const;
    void drawShape(const QPainterPath &logical, bool fill, bool stroke);
    void drawConnected(const QPainterPath &logical);
    void paint(QPainterPath devicePath, bool fill, bool stroke);
    void fillDevice(const QPainterPath &devicePath, const GdiBrush &brush);
    void addToPath(const QPainterPath &devicePath, bool connect);
    QFont qtFont(double pixelHeight) const;
    void rasterOp(const QRectF &dest, const QImage &source, int rop3);
    static bool sourceFor(const QImage &source, const QRectF &sourceRect, QRectF &dest,
                          QImage &clipped);

    QImage m_noTarget; // what m_target refers to while measuring
    QImage &m_target;
    const bool m_measuring;
    const QRect m_area; // the picture, in output pixels
    Measurement m_measurement;
    QPainter m_painter;
    const QTransform m_playback;
    const QPointF m_devicePerMm;
    qint64 m_budget;
    GdiState m_state;
    std::vector<GdiState> m_saved;
    QPainterPath m_path; // output pixels
    bool m_pathOpen = false;
};
