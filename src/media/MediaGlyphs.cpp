// SPDX-License-Identifier: GPL-3.0-or-later
#include "MediaGlyphs.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

namespace MediaGlyphs {

namespace {

constexpr int glyphHeight = 16;

const std::array<const char *, buttonKindCount> baseNames = {
    "MPPLAY", "MPPAUSE", "MPSTOP", "MPNEXT", "MPPREV", "MPSTEP", "MPBACK", "MPRECORD", "MPEJECT"};

int glyphWidth(GlyphSet set, ButtonKind kind)
{
    switch (kind) {
    case ButtonKind::btPause:
        return set == GlyphSet::DI ? 12 : 13;
    case ButtonKind::btNext:
    case ButtonKind::btStep:
    case ButtonKind::btBack:
        return 21;
    default:
        return 17;
    }
}

QColor symbolColour(ButtonKind kind)
{
    switch (kind) {
    case ButtonKind::btPlay:
        return QColor(0, 255, 0);
    case ButtonKind::btPause:
        return QColor(255, 255, 0);
    case ButtonKind::btStop:
    case ButtonKind::btRecord:
        return QColor(255, 0, 0);
    default:
        return QColor(0, 0, 255);
    }
}

// Rectangle whose outline and fill cover exactly w x h pixels.
void addBox(QPainterPath &path, int x, int y, int w, int h)
{
    path.addRect(x, y, w - 1, h - 1);
}

void addTriangleRight(QPainterPath &path, int x, int y)
{
    path.addPolygon(QPolygonF({QPointF(x, y), QPointF(x + 6, y + 6), QPointF(x, y + 12)}));
    path.closeSubpath();
}

void addTriangleLeft(QPainterPath &path, int x, int y)
{
    path.addPolygon(QPolygonF({QPointF(x + 6, y), QPointF(x, y + 6), QPointF(x + 6, y + 12)}));
    path.closeSubpath();
}

QPainterPath symbol(GlyphSet set, ButtonKind kind)
{
    QPainterPath path;
    switch (kind) {
    case ButtonKind::btPlay:
        addTriangleRight(path, 5, 1);
        break;
    case ButtonKind::btPause:
        addBox(path, 2, 1, 4, 13);
        addBox(path, set == GlyphSet::DI ? 7 : 8, 1, 4, 13);
        break;
    case ButtonKind::btStop:
        addBox(path, 3, 2, 11, 11);
        break;
    case ButtonKind::btNext:
        addTriangleRight(path, 4, 1);
        addTriangleRight(path, 10, 1);
        addBox(path, 17, 1, 2, 13);
        break;
    case ButtonKind::btPrev:
        addBox(path, 2, 1, 2, 13);
        addTriangleLeft(path, 4, 1);
        addTriangleLeft(path, 10, 1);
        break;
    case ButtonKind::btStep:
        addTriangleRight(path, 3, 1);
        addBox(path, 10, 1, 2, 13);
        addTriangleRight(path, 13, 1);
        break;
    case ButtonKind::btBack:
        addTriangleLeft(path, 2, 1);
        addBox(path, 9, 1, 2, 13);
        addTriangleLeft(path, 12, 1);
        break;
    case ButtonKind::btRecord:
        path.addEllipse(3, 1, 11, 11);
        break;
    case ButtonKind::btEject:
        path.addPolygon(QPolygonF({QPointF(2, 8), QPointF(8, 2), QPointF(14, 8)}));
        path.closeSubpath();
        addBox(path, 2, 10, 13, 3);
        break;
    }
    return path;
}

} // namespace

QString resourceName(GlyphSet set, ButtonKind kind)
{
    static constexpr std::array<const char *, 3> prefixes = {"EN_", "DI_", "CL_"};
    return QLatin1String(prefixes[std::size_t(set)]) + QLatin1String(baseNames[std::size_t(kind)]);
}

QImage bitmap(GlyphSet set, ButtonKind kind)
{
    QImage image(glyphWidth(set, kind), glyphHeight, QImage::Format_RGB32);
    image.fill(transparentColour);
    const QPainterPath path = symbol(set, kind);
    const QColor light(255, 255, 255);
    const QColor dark(128, 128, 128);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // The light edge lies one pixel below and right of the symbol.
    painter.setPen(light);
    painter.setBrush(set == GlyphSet::DI ? QBrush(Qt::NoBrush) : QBrush(light));
    painter.drawPath(path.translated(1, 1));
    switch (set) {
    case GlyphSet::EN:
        painter.setPen(dark);
        painter.setBrush(Qt::black);
        break;
    case GlyphSet::DI:
        painter.setPen(dark);
        painter.setBrush(Qt::NoBrush);
        break;
    case GlyphSet::CL:
        painter.setPen(dark);
        painter.setBrush(symbolColour(kind));
        break;
    }
    painter.drawPath(path);
    return image;
}

QImage transparentGlyph(GlyphSet set, ButtonKind kind)
{
    QImage image = bitmap(set, kind).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == transparentColour)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return image;
}

QSize minimumButtonSize()
{
    QSize largest;
    for (const GlyphSet set : {GlyphSet::EN, GlyphSet::DI, GlyphSet::CL}) {
        for (std::size_t kind = 0; kind < buttonKindCount; ++kind)
            largest = largest.expandedTo(QSize(glyphWidth(set, ButtonKind(kind)), glyphHeight));
    }
    return largest + QSize(8, 4);
}

} // namespace MediaGlyphs
