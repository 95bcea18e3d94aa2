// SPDX-License-Identifier: GPL-3.0-or-later
#include "WmfPlayer.h"

#include "CodePageText.h"
#include "GdiCanvas.h"
#include "RecordValues.h"

#include <uemf.h>
#include <uwmf.h>

using namespace RecordValues;

namespace {

constexpr std::uint32_t PlaceableKey = 0x9AC6CDD7;
constexpr std::size_t PlaceableSize = 22;
constexpr std::size_t HeaderSize = 18;
constexpr std::size_t MaxObjects = 65535;
constexpr int MaxRegionScans = 20000;
constexpr qint64 MaxBitmapPixels = 16 * 1024 * 1024;

// Parameters start after the record's size and function fields.
constexpr std::size_t P = 6;

QPointF pointYX(ByteView r, std::size_t at)
{
    return QPointF(r.i16(at + 2), r.i16(at));
}

// Rectangles are stored bottom, right, top, left.
QRectF rectBRTL(ByteView r, std::size_t at)
{
    return QRectF(QPointF(r.i16(at + 6), r.i16(at + 4)), QPointF(r.i16(at + 2), r.i16(at)));
}

bool bottomUp(ByteView packed)
{
    return packed.u32(0) == 12 || packed.i32(8) > 0;
}

std::uint32_t colourAt(ByteView r, std::size_t at)
{
    return r.u32(at);
}

} // namespace

std::optional<WmfPlayer::Header> WmfPlayer::readHeader(ByteView file)
{
    Header h;
    std::size_t at = 0;
    if (file.u32(0) == PlaceableKey && file.contains(0, PlaceableSize)) {
        const QRect box = rectFromEdges(file.i16(6), file.i16(8), file.i16(10), file.i16(12));
        h.bounds = box;
        h.unitsPerInch = file.u16(14);
        at = PlaceableSize;
    }
    if (!file.contains(at, HeaderSize))
        return std::nullopt;
    const std::uint16_t type = file.u16(at);
    const std::uint16_t headerWords = file.u16(at + 2);
    const std::uint16_t version = file.u16(at + 4);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300))
        return std::nullopt;
    h.objects = file.u16(at + 10);
    h.recordsAt = at + HeaderSize;
    return h;
}

bool WmfPlayer::recordsComplete(ByteView file, const Header &header)
{
    std::size_t at = header.recordsAt;
    while (file.contains(at, 6)) {
        const std::uint64_t bytes = std::uint64_t(file.u32(at)) * 2;
        if (bytes < 6 || bytes > file.size() || !file.contains(at, std::size_t(bytes)))
            return false;
        if (file.u16(at + 4) == 0)
            return true;
        at += std::size_t(bytes);
    }
    return false;
}

std::optional<QRect> WmfPlayer::recordedWindow(ByteView file, const Header &header)
{
    std::optional<QPoint> origin;
    std::optional<QPoint> extent;
    std::size_t at = header.recordsAt;
    while (file.contains(at, 6) && !(origin && extent)) {
        const std::uint64_t bytes = std::uint64_t(file.u32(at)) * 2;
        const std::uint16_t function = file.u16(at + 4);
        if (bytes < 6 || function == 0 || !file.contains(at, std::size_t(bytes)))
            break;
        if (bytes >= 10 && (function & 0xFF) == U_WMR_SETWINDOWORG && !origin)
            origin = QPoint(file.i16(at + 8), file.i16(at + 6));
        if (bytes >= 10 && (function & 0xFF) == U_WMR_SETWINDOWEXT && !extent)
            extent = QPoint(file.i16(at + 8), file.i16(at + 6));
        at += std::size_t(bytes);
    }
    if (!extent || extent->x() == 0 || extent->y() == 0)
        return std::nullopt;
    const QPoint o = origin.value_or(QPoint());
    return rectFromEdges(o.x(), o.y(), qint64(o.x()) + extent->x(), qint64(o.y()) + extent->y());
}

WmfPlayer::WmfPlayer(ByteView file, const Header &header, GdiCanvas &canvas, qint64 bitmapPixels)
    : m_file(file)
    , m_header(header)
    , m_canvas(canvas)
    , m_bitmapPixels(bitmapPixels)
{
    m_objects.resize(std::size_t(header.objects));
}

void WmfPlayer::play()
{
    std::size_t at = m_header.recordsAt;
    while (m_file.contains(at, 6) && !m_canvas.exhausted()) {
        const std::uint64_t bytes = std::uint64_t(m_file.u32(at)) * 2;
        const std::uint16_t function = m_file.u16(at + 4);
        if (bytes < 6 || function == 0 || !m_file.contains(at, std::size_t(bytes)))
            break;
        const std::optional<ByteView> record = m_file.sub(at, std::size_t(bytes));
        at += std::size_t(bytes);
        playRecord(function & 0xFF, function, *record);
    }
}

// ---- objects ----

// New objects take the lowest free slot of the table.
void WmfPlayer::createObject(GdiObject object)
{
    for (GdiObject &slot : m_objects) {
        if (std::holds_alternative<std::monostate>(slot)) {
            slot = std::move(object);
            return;
        }
    }
    if (m_objects.size() < MaxObjects)
        m_objects.push_back(std::move(object));
}

const GdiObject *WmfPlayer::objectAt(std::uint16_t index) const
{
    return index < m_objects.size() ? &m_objects[index] : nullptr;
}

void WmfPlayer::selectObject(std::uint16_t index)
{
    const GdiObject *object = objectAt(index);
    if (!object)
        return;
    if (const GdiPen *pen = std::get_if<GdiPen>(object))
        m_canvas.selectPen(*pen);
    else if (const GdiBrush *brush = std::get_if<GdiBrush>(object))
        m_canvas.selectBrush(*brush);
    else if (const GdiFont *font = std::get_if<GdiFont>(object))
        m_canvas.selectFont(*font);
    else if (const GdiRegion *region = std::get_if<GdiRegion>(object))
        m_canvas.selectClipRegion(m_canvas.regionFromLogical(region->rects), U_RGN_COPY);
}

GdiFont WmfPlayer::font(ByteView r) const
{
    GdiFont f;
    f.height = r.i16(P);
    f.width = r.i16(P + 2);
    f.escapement = r.i16(P + 4);
    f.weight = r.i16(P + 8);
    f.italic = r.u8(P + 10) != 0;
    f.underline = r.u8(P + 11) != 0;
    f.strikeOut = r.u8(P + 12) != 0;
    f.charSet = r.u8(P + 13);
    f.pitchAndFamily = r.u8(P + 17);
    QByteArray face;
    for (std::size_t i = 0; i < 32 && r.contains(P + 18 + i, 1); ++i) {
        const char c = char(r.u8(P + 18 + i));
        if (c == 0)
            break;
        face.append(c);
    }
    f.face = CodePageText::decode(face, f.charSet);
    return f;
}

GdiRegion WmfPlayer::region(ByteView r) const
{
    GdiRegion region;
    const int scans = r.i16(P + 10);
    const QRect bounds = rectFromEdges(r.i16(P + 14), r.i16(P + 16), r.i16(P + 18), r.i16(P + 20));
    if (scans <= 0) {
        if (!bounds.isEmpty())
            region.rects.append(bounds);
        return region;
    }
    std::size_t at = P + 22;
    for (int i = 0; i < scans && i < MaxRegionScans && r.contains(at, 6); ++i) {
        const int count = r.u16(at);
        const int top = r.i16(at + 2);
        const int bottom = r.i16(at + 4);
        const std::size_t pairs = std::size_t(count / 2);
        if (!r.contains(at + 6, pairs * 4 + 2))
            break;
        for (std::size_t k = 0; k < pairs; ++k) {
            const QRect rect =
                rectFromEdges(r.i16(at + 6 + 4 * k), top, r.i16(at + 8 + 4 * k), bottom);
            if (!rect.isEmpty() && region.rects.size() < MaxRegionScans)
                region.rects.append(rect);
        }
        at += 6 + pairs * 4 + 2;
    }
    return region;
}

QImage WmfPlayer::dib(ByteView packed)
{
    if (m_bitmapPixels <= 0)
        return {};
    m_dib.maxPixels = std::min(MaxBitmapPixels, m_bitmapPixels);
    const QImage image = DibDecoder::decodePacked(packed, m_dib);
    m_bitmapPixels -= qint64(image.width()) * image.height();
    return image;
}

QImage WmfPlayer::bitmap16(ByteView header, ByteView bits)
{
    if (m_bitmapPixels <= 0)
        return {};
    m_dib.maxPixels = std::min(MaxBitmapPixels, m_bitmapPixels);
    const QImage image = DibDecoder::decodeBitmap16(header, bits, m_dib);
    m_bitmapPixels -= qint64(image.width()) * image.height();
    return image;
}

// ---- records ----

void WmfPlayer::playRecord(int type, std::uint16_t function, ByteView r)
{
    // Each family plays the records it knows. Palettes, escapes, flood fills, inverted
    // regions, text spacing and justification, mapper flags and relative mode draw nothing.
    for (const auto family :
         {&WmfPlayer::playShapeRecord, &WmfPlayer::playStateRecord, &WmfPlayer::playObjectRecord,
          &WmfPlayer::playClipRecord, &WmfPlayer::playBitmapTextRecord}) {
        if ((this->*family)(type, function, r))
            return;
    }
}

// Lines, curves and closed shapes.
bool WmfPlayer::playShapeRecord(int type, std::uint16_t, ByteView r)
{
    const std::size_t size = r.size();
    // Every record below reads its fixed fields only after this check.
    auto needs = [size](std::size_t parameterBytes) {
        return size >= P + parameterBytes;
    };
    switch (type) {
    case U_WMR_LINETO:
        if (needs(4))
            m_canvas.lineTo(pointYX(r, P));
        break;
    case U_WMR_ELLIPSE:
        if (needs(8))
            m_canvas.ellipse(rectBRTL(r, P));
        break;
    case U_WMR_RECTANGLE:
        if (needs(8))
            m_canvas.rectangle(rectBRTL(r, P));
        break;
    case U_WMR_ROUNDRECT:
        if (needs(12))
            m_canvas.roundRect(rectBRTL(r, P + 4), QSizeF(r.i16(P + 2), r.i16(P)));
        break;
    case U_WMR_ARC:
    case U_WMR_PIE:
    case U_WMR_CHORD:
        if (needs(16)) {
            const GdiCanvas::ArcKind kind = type == U_WMR_ARC   ? GdiCanvas::ArcKind::Arc
                                            : type == U_WMR_PIE ? GdiCanvas::ArcKind::Pie
                                                                : GdiCanvas::ArcKind::Chord;
            m_canvas.arc(rectBRTL(r, P + 8), pointYX(r, P + 4), pointYX(r, P), kind);
        }
        break;
    case U_WMR_SETPIXEL:
        if (needs(8))
            m_canvas.setPixel(pointYX(r, P + 4), colourRef(colourAt(r, P)));
        break;
    case U_WMR_POLYGON:
    case U_WMR_POLYLINE:
        if (needs(2)) {
            const std::optional<QPolygonF> pts = points(r, P + 2, r.u16(P), false);
            if (pts && type == U_WMR_POLYGON)
                m_canvas.polygon(*pts);
            else if (pts)
                m_canvas.polyline(*pts);
        }
        break;
    case U_WMR_POLYPOLYGON:
        if (needs(2)) {
            const std::size_t polys = r.u16(P);
            if (!r.contains(P + 2, polys * 2))
                break;
            std::uint64_t total = 0;
            for (std::size_t i = 0; i < polys; ++i)
                total += r.u16(P + 2 + 2 * i);
            const std::optional<QPolygonF> all = points(r, P + 2 + polys * 2, total, false);
            if (!all)
                break;
            QList<QPolygonF> list;
            qsizetype used = 0;
            for (std::size_t i = 0; i < polys; ++i) {
                const qsizetype n = r.u16(P + 2 + 2 * i);
                list.append(all->mid(used, n));
                used += n;
            }
            m_canvas.polyPolygon(list);
        }
        break;
    default:
        return false;
    }
    return true;
}

// The device context: mapping, transforms, colours and modes.
bool WmfPlayer::playStateRecord(int type, std::uint16_t, ByteView r)
{
    GdiState &state = m_canvas.state();
    const std::size_t size = r.size();
    // Every record below reads its fixed fields only after this check.
    auto needs = [size](std::size_t parameterBytes) {
        return size >= P + parameterBytes;
    };
    switch (type) {
    case U_WMR_SETBKCOLOR:
        if (needs(4))
            state.backgroundColour = colourRef(colourAt(r, P));
        break;
    case U_WMR_SETTEXTCOLOR:
        if (needs(4))
            state.textColour = colourRef(colourAt(r, P));
        break;
    case U_WMR_SETBKMODE:
        if (needs(2))
            state.opaqueBackground = r.u16(P) == U_OPAQUE;
        break;
    case U_WMR_SETMAPMODE:
        // The player sets the mapping that fits the picture into its frame;
        // only the scaling modes a file chooses replace it.
        if (needs(2) && r.u16(P) > U_MM_TEXT && r.u16(P) <= U_MM_ANISOTROPIC)
            state.mapMode = r.u16(P);
        break;
    case U_WMR_SETROP2:
        if (needs(2))
            state.rop2 = r.u16(P) & 0xFF;
        break;
    case U_WMR_SETPOLYFILLMODE:
        if (needs(2))
            state.fillRule = r.u16(P) == U_WINDING ? Qt::WindingFill : Qt::OddEvenFill;
        break;
    case U_WMR_SETTEXTALIGN:
        if (needs(2))
            state.textAlign = r.u16(P);
        break;
    case U_WMR_SETWINDOWORG:
        if (needs(4))
            state.windowOrg = pointYX(r, P);
        break;
    case U_WMR_SETWINDOWEXT:
        if (needs(4) && r.i16(P) != 0 && r.i16(P + 2) != 0)
            state.windowExt = QSizeF(r.i16(P + 2), r.i16(P));
        break;
    case U_WMR_SETVIEWPORTORG:
        if (needs(4))
            state.viewportOrg = pointYX(r, P);
        break;
    case U_WMR_SETVIEWPORTEXT:
        if (needs(4) && r.i16(P) != 0 && r.i16(P + 2) != 0)
            state.viewportExt = QSizeF(r.i16(P + 2), r.i16(P));
        break;
    case U_WMR_OFFSETWINDOWORG:
        if (needs(4))
            state.windowOrg += pointYX(r, P);
        break;
    case U_WMR_OFFSETVIEWPORTORG:
        if (needs(4))
            state.viewportOrg += pointYX(r, P);
        break;
    case U_WMR_SCALEWINDOWEXT:
        if (needs(8))
            m_canvas.scaleWindowExt(r.i16(P + 6), r.i16(P + 4), r.i16(P + 2), r.i16(P));
        break;
    case U_WMR_SCALEVIEWPORTEXT:
        if (needs(8))
            m_canvas.scaleViewportExt(r.i16(P + 6), r.i16(P + 4), r.i16(P + 2), r.i16(P));
        break;
    case U_WMR_MOVETO:
        if (needs(4))
            m_canvas.moveTo(pointYX(r, P));
        break;
    case U_WMR_SAVEDC:
        m_canvas.saveDc();
        break;
    case U_WMR_RESTOREDC:
        if (needs(2))
            m_canvas.restoreDc(r.i16(P));
        break;
    default:
        return false;
    }
    return true;
}

// Pens, brushes, fonts and the object table.
bool WmfPlayer::playObjectRecord(int type, std::uint16_t, ByteView r)
{
    const std::size_t size = r.size();
    // Every record below reads its fixed fields only after this check.
    auto needs = [size](std::size_t parameterBytes) {
        return size >= P + parameterBytes;
    };
    switch (type) {
    case U_WMR_SELECTOBJECT:
        if (needs(2))
            selectObject(r.u16(P));
        break;
    case U_WMR_DELETEOBJECT:
        if (needs(2) && r.u16(P) < m_objects.size())
            m_objects[r.u16(P)] = std::monostate();
        break;
    case U_WMR_CREATEPENINDIRECT: {
        GdiPen pen;
        if (needs(10)) {
            pen.style = r.u16(P);
            pen.width = std::abs(r.i16(P + 2));
            pen.colour = colourRef(colourAt(r, P + 6));
        }
        createObject(pen);
        break;
    }
    case U_WMR_CREATEBRUSHINDIRECT: {
        GdiBrush brush;
        if (needs(8)) {
            brush.colour = colourRef(colourAt(r, P + 2));
            const std::uint16_t style = r.u16(P);
            if (style == U_BS_NULL) {
                brush.kind = GdiBrush::Kind::Null;
            } else if (style == U_BS_HATCHED) {
                brush.kind = GdiBrush::Kind::Hatched;
                brush.hatch = r.u16(P + 6);
            }
        }
        createObject(brush);
        break;
    }
    case U_WMR_CREATEFONTINDIRECT:
        createObject(needs(18) ? GdiObject(font(r)) : GdiObject(GdiFont()));
        break;
    case U_WMR_DIBCREATEPATTERNBRUSH: {
        GdiBrush brush;
        if (needs(4)) {
            const ByteView target = r.from(P + 4);
            if (r.u16(P) == U_BS_PATTERN)
                brush.pattern = bitmap16(target, target.from(10));
            else if (r.u16(P + 2) == U_DIB_RGB_COLORS)
                brush.pattern = dib(target);
        }
        if (!brush.pattern.isNull())
            brush.kind = GdiBrush::Kind::Pattern;
        else
            brush.colour = Qt::gray;
        createObject(brush);
        break;
    }
    case U_WMR_CREATEPATTERNBRUSH: {
        GdiBrush brush;
        if (needs(28))
            brush.pattern = bitmap16(r.from(P), r.from(P + 28));
        if (!brush.pattern.isNull())
            brush.kind = GdiBrush::Kind::Pattern;
        else
            brush.colour = Qt::gray;
        createObject(brush);
        break;
    }
    case U_WMR_CREATEREGION:
        createObject(needs(22) ? GdiObject(region(r)) : GdiObject(GdiRegion()));
        break;
    case U_WMR_CREATEPALETTE:
    case U_WMR_CREATEBITMAPINDIRECT:
    case U_WMR_CREATEBITMAP:
        createObject(GdiPlaceholder());
        break;
    default:
        return false;
    }
    return true;
}

// Clipping and regions.
bool WmfPlayer::playClipRecord(int type, std::uint16_t, ByteView r)
{
    GdiState &state = m_canvas.state();
    const std::size_t size = r.size();
    // Every record below reads its fixed fields only after this check.
    auto needs = [size](std::size_t parameterBytes) {
        return size >= P + parameterBytes;
    };
    switch (type) {
    case U_WMR_EXCLUDECLIPRECT:
        if (needs(8))
            m_canvas.excludeClipRect(rectBRTL(r, P));
        break;
    case U_WMR_INTERSECTCLIPRECT:
        if (needs(8))
            m_canvas.intersectClipRect(rectBRTL(r, P));
        break;
    case U_WMR_OFFSETCLIPRGN:
        if (needs(4))
            m_canvas.offsetClip(pointYX(r, P));
        break;
    case U_WMR_SELECTCLIPREGION:
        if (needs(2)) {
            const GdiObject *object = objectAt(r.u16(P));
            const GdiRegion *region = object ? std::get_if<GdiRegion>(object) : nullptr;
            if (region)
                m_canvas.selectClipRegion(m_canvas.regionFromLogical(region->rects), U_RGN_COPY);
            else
                m_canvas.selectClipRegion(std::nullopt, U_RGN_COPY);
        }
        break;
    case U_WMR_FILLREGION:
    case U_WMR_FRAMEREGION:
        if (needs(4)) {
            const GdiObject *regionObject = objectAt(r.u16(P));
            const GdiObject *brushObject = objectAt(r.u16(P + 2));
            const GdiRegion *region = regionObject ? std::get_if<GdiRegion>(regionObject) : nullptr;
            const GdiBrush *brush = brushObject ? std::get_if<GdiBrush>(brushObject) : nullptr;
            if (!region || !brush)
                break;
            const QRegion device = m_canvas.regionFromLogical(region->rects);
            if (type == U_WMR_FILLREGION)
                m_canvas.fillRegion(device, *brush);
            else if (needs(8))
                m_canvas.frameRegion(device, *brush, QSizeF(r.i16(P + 6), r.i16(P + 4)));
        }
        break;
    case U_WMR_PAINTREGION:
        if (needs(2)) {
            const GdiObject *object = objectAt(r.u16(P));
            if (const GdiRegion *region = object ? std::get_if<GdiRegion>(object) : nullptr)
                m_canvas.fillRegion(m_canvas.regionFromLogical(region->rects), state.brush);
        }
        break;
    default:
        return false;
    }
    return true;
}

// Bitmaps, gradients and text.
bool WmfPlayer::playBitmapTextRecord(int type, std::uint16_t function, ByteView r)
{
    const std::size_t size = r.size();
    // Every record below reads its fixed fields only after this check.
    auto needs = [size](std::size_t parameterBytes) {
        return size >= P + parameterBytes;
    };
    switch (type) {
    case U_WMR_TEXTOUT:
        text(r);
        break;
    case U_WMR_EXTTEXTOUT:
        extText(r);
        break;
    case U_WMR_PATBLT:
        if (needs(12)) {
            const QPointF at = pointYX(r, P + 8);
            const QSizeF extent(r.i16(P + 6), r.i16(P + 4));
            m_canvas.blit(QRectF(at, extent), QImage(), QRectF(), r.u32(P));
        }
        break;
    case U_WMR_BITBLT:
    case U_WMR_STRETCHBLT:
    case U_WMR_DIBBITBLT:
    case U_WMR_DIBSTRETCHBLT:
    case U_WMR_STRETCHDIB:
    case U_WMR_SETDIBTODEV:
        blit(r, function);
        break;
    default:
        return false;
    }
    return true;
}

void WmfPlayer::text(ByteView r)
{
    if (r.size() < P + 2)
        return;
    const std::size_t length = r.u16(P);
    const std::size_t padded = (length + 1) & ~std::size_t(1);
    const std::optional<ByteView> string = r.sub(P + 2, length);
    if (!string || !r.contains(P + 2 + padded, 4))
        return;
    const QPointF at = pointYX(r, P + 2 + padded);
    const QString text = CodePageText::decode(
        QByteArray(reinterpret_cast<const char *>(string->data()), qsizetype(length)),
        m_canvas.state().font.charSet);
    m_canvas.textOut(at, text, 0, std::nullopt, {});
}

void WmfPlayer::extText(ByteView r)
{
    if (r.size() < P + 8)
        return;
    const QPointF at = pointYX(r, P);
    const std::size_t length = r.u16(P + 4);
    const std::uint16_t options = r.u16(P + 6);
    std::size_t next = P + 8;
    std::optional<QRectF> rect;
    if (options & (U_ETO_OPAQUE | U_ETO_CLIPPED)) {
        if (!r.contains(next, 8))
            return;
        rect = QRectF(QPointF(r.i16(next), r.i16(next + 2)),
                      QPointF(r.i16(next + 4), r.i16(next + 6)));
        next += 8;
    }
    const std::optional<ByteView> string = r.sub(next, length);
    if (!string)
        return;
    QList<int> unitBytes;
    const QString text = CodePageText::decode(
        QByteArray(reinterpret_cast<const char *>(string->data()), qsizetype(length)),
        m_canvas.state().font.charSet, &unitBytes);
    next += (length + 1) & ~std::size_t(1);
    // One spacing value for each byte of the text.
    QList<double> dx;
    if (r.contains(next, length * 2)) {
        for (std::size_t i = 0; i < length; ++i)
            dx.append(r.i16(next + 2 * i));
        dx = CodePageText::spacingPerUnit(dx, unitBytes);
    }
    m_canvas.textOut(at, text, options, rect, dx);
}

// The bitmap records differ in their field order and in whether a bitmap is
// present; without one they paint with the brush alone.
void WmfPlayer::blit(ByteView r, std::uint16_t function)
{
    const int type = function & 0xFF;
    const std::size_t size = r.size();
    // Records without a bitmap are (function >> 8) + 3 words long.
    const bool withBitmap = size != ((std::size_t(function) >> 8) + 3) * 2;
    std::uint32_t rop = 0x00CC0020;
    QRectF dest;
    QRectF source;
    QImage image;
    bool fromBottom = false;
    switch (type) {
    case U_WMR_BITBLT:
    case U_WMR_DIBBITBLT: {
        const std::size_t shift = withBitmap ? 0 : 2;
        if (size < P + 18 + shift)
            return;
        rop = r.u32(P);
        const QPointF src = pointYX(r, P + 4);
        const QSizeF extent(r.i16(P + 10 + shift), r.i16(P + 8 + shift));
        dest = QRectF(pointYX(r, P + 12 + shift), extent);
        source = QRectF(src, extent);
        if (withBitmap && type == U_WMR_DIBBITBLT)
            image = dib(r.from(P + 16));
        else if (withBitmap)
            image = bitmap16(r.from(P + 16), r.from(P + 26));
        break;
    }
    case U_WMR_STRETCHBLT:
    case U_WMR_DIBSTRETCHBLT: {
        const std::size_t shift = withBitmap ? 0 : 2;
        if (size < P + 20 + shift)
            return;
        rop = r.u32(P);
        source = QRectF(pointYX(r, P + 8), QSizeF(r.i16(P + 6), r.i16(P + 4)));
        dest = QRectF(pointYX(r, P + 16 + shift),
                      QSizeF(r.i16(P + 14 + shift), r.i16(P + 12 + shift)));
        if (withBitmap && type == U_WMR_DIBSTRETCHBLT)
            image = dib(r.from(P + 20));
        else if (withBitmap)
            image = bitmap16(r.from(P + 20), r.from(P + 30));
        break;
    }
    case U_WMR_STRETCHDIB:
        if (size < P + 22)
            return;
        rop = r.u32(P);
        source = QRectF(pointYX(r, P + 10), QSizeF(r.i16(P + 8), r.i16(P + 6)));
        dest = QRectF(pointYX(r, P + 18), QSizeF(r.i16(P + 16), r.i16(P + 14)));
        if (r.u16(P + 4) == U_DIB_RGB_COLORS)
            image = dib(r.from(P + 22));
        fromBottom = bottomUp(r.from(P + 22));
        if (image.isNull())
            return;
        break;
    case U_WMR_SETDIBTODEV:
        if (size < P + 18)
            return;
        source = QRectF(pointYX(r, P + 6), QSizeF(r.i16(P + 12), r.i16(P + 10)));
        dest = QRectF(pointYX(r, P + 14), source.size());
        if (r.u16(P) == U_DIB_RGB_COLORS)
            image = dib(r.from(P + 18));
        fromBottom = bottomUp(r.from(P + 18));
        if (image.isNull())
            return;
        break;
    default:
        return;
    }
    if (withBitmap && image.isNull())
        return;
    if (fromBottom) {
        // These bitmaps count source rows from the bottom when stored bottom-up.
        source.moveTop(image.height() - source.top() - source.height());
    }
    m_canvas.blit(dest, image, source, rop);
}
