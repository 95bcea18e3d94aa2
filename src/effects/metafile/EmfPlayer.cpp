// SPDX-License-Identifier: GPL-3.0-or-later
#include "EmfPlayer.h"

#include "CodePageText.h"
#include "GdiCanvas.h"
#include "RecordValues.h"

#include <uemf.h>
#include <uemf_safe.h>

#include <algorithm>
#include <cmath>
#include <cstddef>

using namespace RecordValues;

namespace {

constexpr std::size_t HeaderMinimum = 88; // up to the reference size in millimetres
constexpr std::size_t HeaderWithMicrometres = 108;
constexpr std::uint32_t MaxObjects = 65536;
constexpr std::uint32_t MaxRegionRects = 20000;
constexpr std::uint32_t MaxTextUnits = 32768;
constexpr std::uint32_t MaxPolyCounts = 1 << 20;
constexpr qint64 MaxBitmapPixels = 16 * 1024 * 1024;

// The records this player draws or keeps state from; the others are skipped
// before the library checks them (it reports types it cannot check).
constexpr std::uint32_t PlayedRecords[] = {U_EMR_ABORTPATH,
                                           U_EMR_ALPHABLEND,
                                           U_EMR_ANGLEARC,
                                           U_EMR_ARC,
                                           U_EMR_ARCTO,
                                           U_EMR_BEGINPATH,
                                           U_EMR_BITBLT,
                                           U_EMR_CHORD,
                                           U_EMR_CLOSEFIGURE,
                                           U_EMR_CREATEBRUSHINDIRECT,
                                           U_EMR_CREATEDIBPATTERNBRUSHPT,
                                           U_EMR_CREATEMONOBRUSH,
                                           U_EMR_CREATEPEN,
                                           U_EMR_DELETEOBJECT,
                                           U_EMR_ELLIPSE,
                                           U_EMR_ENDPATH,
                                           U_EMR_EXCLUDECLIPRECT,
                                           U_EMR_EXTCREATEFONTINDIRECTW,
                                           U_EMR_EXTCREATEPEN,
                                           U_EMR_EXTSELECTCLIPRGN,
                                           U_EMR_EXTTEXTOUTA,
                                           U_EMR_EXTTEXTOUTW,
                                           U_EMR_FILLPATH,
                                           U_EMR_FILLRGN,
                                           U_EMR_FRAMERGN,
                                           U_EMR_GRADIENTFILL,
                                           U_EMR_INTERSECTCLIPRECT,
                                           U_EMR_LINETO,
                                           U_EMR_MODIFYWORLDTRANSFORM,
                                           U_EMR_MOVETOEX,
                                           U_EMR_OFFSETCLIPRGN,
                                           U_EMR_PAINTRGN,
                                           U_EMR_PIE,
                                           U_EMR_POLYBEZIER,
                                           U_EMR_POLYBEZIER16,
                                           U_EMR_POLYBEZIERTO,
                                           U_EMR_POLYBEZIERTO16,
                                           U_EMR_POLYDRAW,
                                           U_EMR_POLYDRAW16,
                                           U_EMR_POLYGON,
                                           U_EMR_POLYGON16,
                                           U_EMR_POLYLINE,
                                           U_EMR_POLYLINE16,
                                           U_EMR_POLYLINETO,
                                           U_EMR_POLYLINETO16,
                                           U_EMR_POLYPOLYGON,
                                           U_EMR_POLYPOLYGON16,
                                           U_EMR_POLYPOLYLINE,
                                           U_EMR_POLYPOLYLINE16,
                                           U_EMR_RECTANGLE,
                                           U_EMR_RESTOREDC,
                                           U_EMR_ROUNDRECT,
                                           U_EMR_SAVEDC,
                                           U_EMR_SCALEVIEWPORTEXTEX,
                                           U_EMR_SCALEWINDOWEXTEX,
                                           U_EMR_SELECTCLIPPATH,
                                           U_EMR_SELECTOBJECT,
                                           U_EMR_SETARCDIRECTION,
                                           U_EMR_SETBKCOLOR,
                                           U_EMR_SETBKMODE,
                                           U_EMR_SETBRUSHORGEX,
                                           U_EMR_SETDIBITSTODEVICE,
                                           U_EMR_SETMAPMODE,
                                           U_EMR_SETMITERLIMIT,
                                           U_EMR_SETPIXELV,
                                           U_EMR_SETPOLYFILLMODE,
                                           U_EMR_SETROP2,
                                           U_EMR_SETTEXTALIGN,
                                           U_EMR_SETTEXTCOLOR,
                                           U_EMR_SETVIEWPORTEXTEX,
                                           U_EMR_SETVIEWPORTORGEX,
                                           U_EMR_SETWINDOWEXTEX,
                                           U_EMR_SETWINDOWORGEX,
                                           U_EMR_SETWORLDTRANSFORM,
                                           U_EMR_SMALLTEXTOUT,
                                           U_EMR_STRETCHBLT,
                                           U_EMR_STRETCHDIBITS,
                                           U_EMR_STROKEANDFILLPATH,
                                           U_EMR_STROKEPATH,
                                           U_EMR_TRANSPARENTBLT,
                                           U_EMR_WIDENPATH};

bool played(std::uint32_t type)
{
    return std::find(std::begin(PlayedRecords), std::end(PlayedRecords), type) !=
           std::end(PlayedRecords);
}

QPointF pointAt(ByteView r, std::size_t at)
{
    return QPointF(r.i32(at), r.i32(at + 4));
}

QRectF rectAt(ByteView r, std::size_t at)
{
    // Edges as recorded; the canvas normalises.
    const double left = r.i32(at);
    const double top = r.i32(at + 4);
    return QRectF(QPointF(left, top), QPointF(r.i32(at + 8), r.i32(at + 12)));
}

QTransform xformAt(ByteView r, std::size_t at)
{
    return QTransform(r.f32(at), r.f32(at + 4), r.f32(at + 8), r.f32(at + 12), r.f32(at + 16),
                      r.f32(at + 20));
}

GdiBrush stockBrush(std::uint32_t which)
{
    GdiBrush b;
    switch (which) {
    case 0:
        b.colour = Qt::white;
        break;
    case 1:
        b.colour = QColor(0xC0, 0xC0, 0xC0);
        break;
    case 2:
        b.colour = QColor(0x80, 0x80, 0x80);
        break;
    case 3:
        b.colour = QColor(0x40, 0x40, 0x40);
        break;
    case 4:
        b.colour = Qt::black;
        break;
    default:
        b.kind = GdiBrush::Kind::Null;
        break;
    }
    return b;
}

} // namespace

std::optional<EmfPlayer::Header> EmfPlayer::readHeader(ByteView file)
{
    if (!file.contains(0, HeaderMinimum) || file.u32(0) != U_EMR_HEADER)
        return std::nullopt;
    const std::uint32_t size = file.u32(4);
    if (size < HeaderMinimum || !file.contains(0, size) ||
        file.u32(offsetof(U_EMRHEADER, dSignature)) != U_ENHMETA_SIGNATURE)
        return std::nullopt;
    Header h;
    auto rect = [&](std::size_t at) {
        return QRect(QPoint(clampCoordinate(file.i32(at)), clampCoordinate(file.i32(at + 4))),
                     QPoint(clampCoordinate(file.i32(at + 8)), clampCoordinate(file.i32(at + 12))));
    };
    h.bounds = rect(offsetof(U_EMRHEADER, rclBounds));
    h.frame = rect(offsetof(U_EMRHEADER, rclFrame));
    h.handles = file.u16(offsetof(U_EMRHEADER, nHandles));

    const double deviceX = file.i32(offsetof(U_EMRHEADER, szlDevice));
    const double deviceY = file.i32(offsetof(U_EMRHEADER, szlDevice) + 4);
    double mmX = file.i32(offsetof(U_EMRHEADER, szlMillimeters));
    double mmY = file.i32(offsetof(U_EMRHEADER, szlMillimeters) + 4);
    // The record's size counts the description and pixel format that follow
    // the fixed fields; the later fields exist only where those start after them.
    std::size_t fixedEnd = size;
    auto endsBefore = [&](std::size_t countAt, std::size_t offsetAt) {
        const std::uint32_t offset = file.u32(offsetAt);
        if (file.u32(countAt) != 0 && offset >= HeaderMinimum && offset < fixedEnd)
            fixedEnd = offset;
    };
    endsBefore(offsetof(U_EMRHEADER, nDescription), offsetof(U_EMRHEADER, offDescription));
    if (fixedEnd >= offsetof(U_EMRHEADER, bOpenGL))
        endsBefore(offsetof(U_EMRHEADER, cbPixelFormat), offsetof(U_EMRHEADER, offPixelFormat));
    if (fixedEnd >= HeaderWithMicrometres) {
        const double umX = file.i32(offsetof(U_EMRHEADER, szlMicrometers));
        const double umY = file.i32(offsetof(U_EMRHEADER, szlMicrometers) + 4);
        if (umX > 0 && umY > 0) {
            mmX = umX / 1000;
            mmY = umY / 1000;
        }
    }
    QPointF perMm(96 / 25.4, 96 / 25.4);
    if (deviceX > 0 && deviceY > 0 && mmX > 0 && mmY > 0) {
        const QPointF recorded(deviceX / mmX, deviceY / mmY);
        // A reference device between 1 and 10000 dots per inch is believable.
        if (recorded.x() > 0.04 && recorded.x() < 400 && recorded.y() > 0.04 && recorded.y() < 400)
            perMm = recorded;
    }
    h.devicePerMm = perMm;
    return h;
}

bool EmfPlayer::recordsComplete(ByteView file)
{
    std::size_t at = 0;
    while (file.contains(at, 8)) {
        const std::uint32_t type = file.u32(at);
        const std::uint32_t size = file.u32(at + 4);
        if (size < 8 || size % 4 != 0 || !file.contains(at, size))
            return false;
        if (type == U_EMR_EOF)
            return true;
        at += size;
    }
    return false;
}

EmfPlayer::EmfPlayer(ByteView file, GdiCanvas &canvas, qint64 bitmapPixels)
    : m_file(file)
    , m_canvas(canvas)
    , m_bitmapPixels(bitmapPixels)
{
    const std::optional<Header> header = readHeader(file);
    if (header)
        m_objects.resize(std::size_t(std::max(header->handles, 1)));
}

void EmfPlayer::play()
{
    std::size_t at = 0;
    while (m_file.contains(at, 8) && !m_canvas.exhausted()) {
        const std::uint32_t type = m_file.u32(at);
        const std::uint32_t size = m_file.u32(at + 4);
        const std::optional<ByteView> record = m_file.sub(at, size);
        if (size < 8 || !record || type == U_EMR_EOF)
            break;
        at += size;
        if (!played(type))
            continue;
        // The library's own check of the record's internal sizes and offsets;
        // a record that fails it is skipped.
        if (!U_emf_record_safe(reinterpret_cast<const char *>(record->data())))
            continue;
        playRecord(type, *record);
    }
}

// ---- objects ----

void EmfPlayer::storeObject(std::uint32_t index, GdiObject object)
{
    if (index == 0 || index >= MaxObjects)
        return;
    if (index >= m_objects.size())
        m_objects.resize(index + 1);
    m_objects[index] = std::move(object);
}

void EmfPlayer::deleteObject(std::uint32_t index)
{
    if (index < m_objects.size())
        m_objects[index] = std::monostate();
}

std::optional<GdiBrush> EmfPlayer::brushAt(std::uint32_t index) const
{
    if (index & U_STOCK_OBJECT)
        return stockBrush(index & ~U_STOCK_OBJECT);
    if (index < m_objects.size()) {
        if (const GdiBrush *b = std::get_if<GdiBrush>(&m_objects[index]))
            return *b;
    }
    return std::nullopt;
}

void EmfPlayer::selectObject(std::uint32_t index)
{
    if (index & U_STOCK_OBJECT) {
        const std::uint32_t which = index & ~U_STOCK_OBJECT;
        if (which <= 5) {
            m_canvas.selectBrush(stockBrush(which));
        } else if (which >= 6 && which <= 8) {
            GdiPen pen;
            pen.colour = which == 6 ? Qt::white : Qt::black;
            pen.style = which == 8 ? U_PS_NULL : U_PS_SOLID;
            m_canvas.selectPen(pen);
        } else if (which >= 10 && which <= 17 && which != 15) {
            GdiFont font;
            if (which == 10 || which == 11 || which == 16)
                font.pitchAndFamily = 0x31; // fixed pitch, modern
            m_canvas.selectFont(font);
        }
        return;
    }
    if (index >= m_objects.size())
        return;
    const GdiObject &object = m_objects[index];
    if (const GdiPen *pen = std::get_if<GdiPen>(&object))
        m_canvas.selectPen(*pen);
    else if (const GdiBrush *brush = std::get_if<GdiBrush>(&object))
        m_canvas.selectBrush(*brush);
    else if (const GdiFont *font = std::get_if<GdiFont>(&object))
        m_canvas.selectFont(*font);
}

GdiPen EmfPlayer::extPen(ByteView r) const
{
    constexpr std::size_t elp = offsetof(U_EMREXTCREATEPEN, elp);
    GdiPen pen;
    pen.style = r.u32(elp + offsetof(U_EXTLOGPEN, elpPenStyle));
    const bool geometric = (pen.style & U_PS_TYPE_MASK) == U_PS_GEOMETRIC;
    pen.width = geometric ? double(r.u32(elp + offsetof(U_EXTLOGPEN, elpWidth))) : 0;
    pen.colour = colourRef(r.u32(elp + offsetof(U_EXTLOGPEN, elpColor)));
    if (r.u32(elp + offsetof(U_EXTLOGPEN, elpBrushStyle)) == U_BS_NULL)
        pen.style = (pen.style & ~std::uint32_t(U_PS_STYLE_MASK)) | U_PS_NULL;
    const std::uint32_t entries = r.u32(elp + offsetof(U_EXTLOGPEN, elpNumEntries));
    const std::size_t first = elp + offsetof(U_EXTLOGPEN, elpStyleEntry);
    for (std::uint32_t i = 0; i < entries && i < 16 && r.contains(first + 4 * i, 4); ++i)
        pen.dashes.append(r.u32(first + 4 * i));
    return pen;
}

GdiFont EmfPlayer::logFont(ByteView r) const
{
    constexpr std::size_t lf = offsetof(U_EMREXTCREATEFONTINDIRECTW, elfw);
    GdiFont font;
    font.height = r.i32(lf + offsetof(U_LOGFONT, lfHeight));
    font.width = r.i32(lf + offsetof(U_LOGFONT, lfWidth));
    font.escapement = r.i32(lf + offsetof(U_LOGFONT, lfEscapement));
    font.weight = r.i32(lf + offsetof(U_LOGFONT, lfWeight));
    font.italic = r.u8(lf + offsetof(U_LOGFONT, lfItalic)) != 0;
    font.underline = r.u8(lf + offsetof(U_LOGFONT, lfUnderline)) != 0;
    font.strikeOut = r.u8(lf + offsetof(U_LOGFONT, lfStrikeOut)) != 0;
    font.charSet = r.u8(lf + offsetof(U_LOGFONT, lfCharSet));
    font.pitchAndFamily = r.u8(lf + offsetof(U_LOGFONT, lfPitchAndFamily));
    const std::size_t face = lf + offsetof(U_LOGFONT, lfFaceName);
    for (std::size_t i = 0; i < U_LF_FACESIZE && r.contains(face + 2 * i, 2); ++i) {
        const char16_t c = r.u16(face + 2 * i);
        if (c == 0)
            break;
        font.face.append(QChar(c));
    }
    return font;
}

// ---- regions and bitmaps ----

std::optional<QList<QRect>> EmfPlayer::regionRects(ByteView r, std::size_t at,
                                                   std::size_t size) const
{
    const std::optional<ByteView> data = r.sub(at, size);
    if (!data || data->size() < sizeof(U_RGNDATAHEADER))
        return std::nullopt;
    const std::uint32_t headerSize = data->u32(0);
    const std::uint32_t count = data->u32(offsetof(U_RGNDATAHEADER, nCount));
    if (headerSize < sizeof(U_RGNDATAHEADER) || count > MaxRegionRects ||
        !data->contains(headerSize, std::size_t(count) * 16))
        return std::nullopt;
    QList<QRect> rects;
    rects.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t p = headerSize + 16 * i;
        const QRect rect =
            rectFromEdges(data->i32(p), data->i32(p + 4), data->i32(p + 8), data->i32(p + 12));
        if (!rect.isEmpty())
            rects.append(rect);
    }
    return rects;
}

// The bitmap at the offsets that the record's fields at offBmi and offBits
// give (each followed by its size field).
QImage EmfPlayer::bitmap(ByteView r, std::size_t offBmi, std::size_t offBits, bool keepAlpha,
                         bool *bottomUp)
{
    const std::optional<ByteView> info = r.sub(r.u32(offBmi), r.u32(offBmi + 4));
    const std::optional<ByteView> bits = r.sub(r.u32(offBits), r.u32(offBits + 4));
    // A measurement needs where a bitmap goes, not its pixels.
    if (!info || !bits || info->size() < 12 || m_bitmapPixels <= 0 || m_canvas.measuring())
        return {};
    if (bottomUp)
        *bottomUp = info->u32(0) == 12 ? true : info->i32(8) > 0;
    m_dib.maxPixels = std::min(MaxBitmapPixels, m_bitmapPixels);
    m_dib.keepAlpha = keepAlpha;
    const QImage image = DibDecoder::decode(*info, *bits, m_dib);
    m_bitmapPixels -= qint64(image.width()) * image.height();
    return image;
}

// ---- records ----

void EmfPlayer::playRecord(std::uint32_t type, ByteView r)
{
    // Each family plays the records it knows; records missing from PlayedRecords never
    // come here.
    for (const auto family : {&EmfPlayer::playShapeRecord, &EmfPlayer::playStateRecord,
                              &EmfPlayer::playObjectRecord, &EmfPlayer::playPathRecord,
                              &EmfPlayer::playClipRecord, &EmfPlayer::playBitmapTextRecord}) {
        if ((this->*family)(type, r))
            return;
    }
}

// Lines, curves and closed shapes.
bool EmfPlayer::playShapeRecord(std::uint32_t type, ByteView r)
{
    switch (type) {
    case U_EMR_POLYBEZIER:
    case U_EMR_POLYGON:
    case U_EMR_POLYLINE:
    case U_EMR_POLYBEZIERTO:
    case U_EMR_POLYLINETO:
    case U_EMR_POLYBEZIER16:
    case U_EMR_POLYGON16:
    case U_EMR_POLYLINE16:
    case U_EMR_POLYBEZIERTO16:
    case U_EMR_POLYLINETO16: {
        const bool wide = type < U_EMR_POLYBEZIER16;
        const std::optional<QPolygonF> pts = points(r, 28, r.u32(24), wide);
        if (!pts)
            break;
        switch (wide ? type : type - (U_EMR_POLYBEZIER16 - U_EMR_POLYBEZIER)) {
        case U_EMR_POLYBEZIER:
            m_canvas.polyBezier(*pts);
            break;
        case U_EMR_POLYGON:
            m_canvas.polygon(*pts);
            break;
        case U_EMR_POLYLINE:
            m_canvas.polyline(*pts);
            break;
        case U_EMR_POLYBEZIERTO:
            m_canvas.polyBezierTo(*pts);
            break;
        case U_EMR_POLYLINETO:
            m_canvas.polylineTo(*pts);
            break;
        }
        break;
    }
    case U_EMR_POLYPOLYLINE:
    case U_EMR_POLYPOLYGON:
    case U_EMR_POLYPOLYLINE16:
    case U_EMR_POLYPOLYGON16: {
        const bool wide = type == U_EMR_POLYPOLYLINE || type == U_EMR_POLYPOLYGON;
        const std::uint32_t polys = r.u32(24);
        const std::uint32_t total = r.u32(28);
        if (polys > MaxPolyCounts || !r.contains(32, std::size_t(polys) * 4))
            break;
        const std::size_t pointsAt = 32 + std::size_t(polys) * 4;
        const std::optional<QPolygonF> all = points(r, pointsAt, total, wide);
        if (!all)
            break;
        QList<QPolygonF> list;
        qsizetype used = 0;
        for (std::uint32_t i = 0; i < polys; ++i) {
            const std::uint32_t n = r.u32(32 + 4 * std::size_t(i));
            if (n > all->size() - used)
                break;
            list.append(all->mid(used, n));
            used += n;
        }
        if (type == U_EMR_POLYPOLYGON || type == U_EMR_POLYPOLYGON16)
            m_canvas.polyPolygon(list);
        else
            m_canvas.polyPolyline(list);
        break;
    }
    case U_EMR_POLYDRAW:
    case U_EMR_POLYDRAW16: {
        const bool wide = type == U_EMR_POLYDRAW;
        const std::uint32_t n = r.u32(24);
        const std::optional<QPolygonF> pts = points(r, 28, n, wide);
        if (!pts)
            break;
        const std::size_t typesAt = 28 + std::size_t(n) * (wide ? 8 : 4);
        const std::optional<ByteView> types = r.sub(typesAt, n);
        if (!types)
            break;
        m_canvas.polyDraw(*pts, QByteArray(reinterpret_cast<const char *>(types->data()),
                                           qsizetype(types->size())));
        break;
    }
    case U_EMR_SETPIXELV:
        m_canvas.setPixel(pointAt(r, 8), colourRef(r.u32(16)));
        break;
    case U_EMR_ANGLEARC:
        m_canvas.angleArc(pointAt(r, 8), r.u32(16), r.f32(20), r.f32(24));
        break;
    case U_EMR_ELLIPSE:
        m_canvas.ellipse(rectAt(r, 8));
        break;
    case U_EMR_RECTANGLE:
        m_canvas.rectangle(rectAt(r, 8));
        break;
    case U_EMR_ROUNDRECT:
        m_canvas.roundRect(rectAt(r, 8), QSizeF(r.i32(24), r.i32(28)));
        break;
    case U_EMR_ARC:
    case U_EMR_CHORD:
    case U_EMR_PIE:
    case U_EMR_ARCTO: {
        const GdiCanvas::ArcKind kind = type == U_EMR_ARC     ? GdiCanvas::ArcKind::Arc
                                        : type == U_EMR_CHORD ? GdiCanvas::ArcKind::Chord
                                        : type == U_EMR_PIE   ? GdiCanvas::ArcKind::Pie
                                                              : GdiCanvas::ArcKind::ArcTo;
        m_canvas.arc(rectAt(r, 8), pointAt(r, 24), pointAt(r, 32), kind);
        break;
    }
    case U_EMR_LINETO:
        m_canvas.lineTo(pointAt(r, 8));
        break;
    default:
        return false;
    }
    return true;
}

// The device context: mapping, transforms, colours and modes.
bool EmfPlayer::playStateRecord(std::uint32_t type, ByteView r)
{
    GdiState &state = m_canvas.state();
    switch (type) {
    case U_EMR_SETWINDOWEXTEX:
        if (r.i32(8) != 0 && r.i32(12) != 0)
            state.windowExt = QSizeF(r.i32(8), r.i32(12));
        break;
    case U_EMR_SETWINDOWORGEX:
        state.windowOrg = pointAt(r, 8);
        break;
    case U_EMR_SETVIEWPORTEXTEX:
        if (r.i32(8) != 0 && r.i32(12) != 0)
            state.viewportExt = QSizeF(r.i32(8), r.i32(12));
        break;
    case U_EMR_SETVIEWPORTORGEX:
        state.viewportOrg = pointAt(r, 8);
        break;
    case U_EMR_SETBRUSHORGEX:
        state.brushOrigin = m_canvas.playback().map(pointAt(r, 8));
        break;
    case U_EMR_SETMAPMODE:
        if (r.u32(8) >= U_MM_TEXT && r.u32(8) <= U_MM_ANISOTROPIC)
            state.mapMode = int(r.u32(8));
        break;
    case U_EMR_SETBKMODE:
        state.opaqueBackground = r.u32(8) == U_OPAQUE;
        break;
    case U_EMR_SETPOLYFILLMODE:
        state.fillRule = r.u32(8) == U_WINDING ? Qt::WindingFill : Qt::OddEvenFill;
        break;
    case U_EMR_SETROP2:
        state.rop2 = int(r.u32(8) & 0xFF);
        break;
    case U_EMR_SETTEXTALIGN:
        state.textAlign = r.u32(8);
        break;
    case U_EMR_SETTEXTCOLOR:
        state.textColour = colourRef(r.u32(8));
        break;
    case U_EMR_SETBKCOLOR:
        state.backgroundColour = colourRef(r.u32(8));
        break;
    case U_EMR_MOVETOEX:
        m_canvas.moveTo(pointAt(r, 8));
        break;
    case U_EMR_SCALEVIEWPORTEXTEX:
        m_canvas.scaleViewportExt(r.i32(8), r.i32(12), r.i32(16), r.i32(20));
        break;
    case U_EMR_SCALEWINDOWEXTEX:
        m_canvas.scaleWindowExt(r.i32(8), r.i32(12), r.i32(16), r.i32(20));
        break;
    case U_EMR_SAVEDC:
        m_canvas.saveDc();
        break;
    case U_EMR_RESTOREDC:
        m_canvas.restoreDc(r.i32(8));
        break;
    case U_EMR_SETWORLDTRANSFORM:
        m_canvas.setWorldTransform(xformAt(r, 8));
        break;
    case U_EMR_MODIFYWORLDTRANSFORM:
        m_canvas.modifyWorldTransform(xformAt(r, 8), int(r.u32(32)));
        break;
    case U_EMR_SETARCDIRECTION:
        state.clockwise = r.u32(8) == U_AD_CLOCKWISE;
        break;
    case U_EMR_SETMITERLIMIT:
        // Written as an integer by some and as a float by others.
        state.miterLimit = r.u32(8) < 0x10000 ? double(r.u32(8)) : double(r.f32(8));
        if (!std::isfinite(state.miterLimit))
            state.miterLimit = 10;
        break;
    default:
        return false;
    }
    return true;
}

// Pens, brushes, fonts and the object table.
bool EmfPlayer::playObjectRecord(std::uint32_t type, ByteView r)
{
    switch (type) {
    case U_EMR_SELECTOBJECT:
        selectObject(r.u32(8));
        break;
    case U_EMR_CREATEPEN: {
        GdiPen pen;
        pen.style = r.u32(12);
        pen.width = std::abs(double(r.i32(16)));
        pen.colour = colourRef(r.u32(24));
        storeObject(r.u32(8), pen);
        break;
    }
    case U_EMR_EXTCREATEPEN:
        storeObject(r.u32(8), extPen(r));
        break;
    case U_EMR_CREATEBRUSHINDIRECT: {
        GdiBrush brush;
        brush.colour = colourRef(r.u32(16));
        switch (r.u32(12)) {
        case U_BS_NULL:
            brush.kind = GdiBrush::Kind::Null;
            break;
        case U_BS_HATCHED:
            brush.kind = GdiBrush::Kind::Hatched;
            brush.hatch = int(r.u32(20) & 0xFF);
            break;
        default:
            break;
        }
        storeObject(r.u32(8), brush);
        break;
    }
    case U_EMR_CREATEMONOBRUSH:
    case U_EMR_CREATEDIBPATTERNBRUSHPT: {
        GdiBrush brush;
        if (r.u32(12) == U_DIB_RGB_COLORS) {
            brush.pattern = bitmap(r, offsetof(U_EMRCREATEDIBPATTERNBRUSHPT, offBmi),
                                   offsetof(U_EMRCREATEDIBPATTERNBRUSHPT, offBits), false);
        }
        if (!brush.pattern.isNull())
            brush.kind = GdiBrush::Kind::Pattern;
        else
            brush.colour = Qt::gray;
        storeObject(r.u32(8), brush);
        break;
    }
    case U_EMR_EXTCREATEFONTINDIRECTW:
        if (r.contains(offsetof(U_EMREXTCREATEFONTINDIRECTW, elfw), sizeof(U_LOGFONT)))
            storeObject(r.u32(8), logFont(r));
        break;
    case U_EMR_DELETEOBJECT:
        deleteObject(r.u32(8));
        break;
    default:
        return false;
    }
    return true;
}

// Paths.
bool EmfPlayer::playPathRecord(std::uint32_t type, ByteView r)
{
    switch (type) {
    case U_EMR_BEGINPATH:
        m_canvas.beginPath();
        break;
    case U_EMR_ENDPATH:
        m_canvas.endPath();
        break;
    case U_EMR_CLOSEFIGURE:
        m_canvas.closeFigure();
        break;
    case U_EMR_FILLPATH:
        m_canvas.fillPath();
        break;
    case U_EMR_STROKEANDFILLPATH:
        m_canvas.strokeAndFillPath();
        break;
    case U_EMR_STROKEPATH:
        m_canvas.strokePath();
        break;
    case U_EMR_WIDENPATH:
        m_canvas.widenPath();
        break;
    case U_EMR_SELECTCLIPPATH:
        m_canvas.selectClipPath(int(r.u32(8)));
        break;
    case U_EMR_ABORTPATH:
        m_canvas.abortPath();
        break;
    default:
        return false;
    }
    return true;
}

// Clipping and regions.
bool EmfPlayer::playClipRecord(std::uint32_t type, ByteView r)
{
    GdiState &state = m_canvas.state();
    switch (type) {
    case U_EMR_OFFSETCLIPRGN:
        m_canvas.offsetClip(pointAt(r, 8));
        break;
    case U_EMR_EXCLUDECLIPRECT:
        m_canvas.excludeClipRect(rectAt(r, 8));
        break;
    case U_EMR_INTERSECTCLIPRECT:
        m_canvas.intersectClipRect(rectAt(r, 8));
        break;
    case U_EMR_FILLRGN: {
        const std::optional<QList<QRect>> rects =
            regionRects(r, offsetof(U_EMRFILLRGN, RgnData), r.u32(24));
        const std::optional<GdiBrush> brush = brushAt(r.u32(28));
        if (rects && brush)
            m_canvas.fillRegion(m_canvas.regionFromDevice(*rects), *brush);
        break;
    }
    case U_EMR_FRAMERGN: {
        const std::optional<QList<QRect>> rects =
            regionRects(r, offsetof(U_EMRFRAMERGN, RgnData), r.u32(24));
        const std::optional<GdiBrush> brush = brushAt(r.u32(28));
        if (rects && brush)
            m_canvas.frameRegion(m_canvas.regionFromDevice(*rects), *brush,
                                 QSizeF(r.i32(32), r.i32(36)));
        break;
    }
    case U_EMR_PAINTRGN: {
        const std::optional<QList<QRect>> rects =
            regionRects(r, offsetof(U_EMRPAINTRGN, RgnData), r.u32(24));
        if (rects)
            m_canvas.fillRegion(m_canvas.regionFromDevice(*rects), state.brush);
        break;
    }
    case U_EMR_EXTSELECTCLIPRGN: {
        const std::uint32_t size = r.u32(8);
        const int mode = int(r.u32(12));
        if (size == 0) {
            m_canvas.selectClipRegion(std::nullopt, mode);
            break;
        }
        const std::optional<QList<QRect>> rects =
            regionRects(r, offsetof(U_EMREXTSELECTCLIPRGN, RgnData), size);
        if (rects)
            m_canvas.selectClipRegion(m_canvas.regionFromDevice(*rects), mode);
        break;
    }
    default:
        return false;
    }
    return true;
}

// Bitmaps, gradients and text.
bool EmfPlayer::playBitmapTextRecord(std::uint32_t type, ByteView r)
{
    switch (type) {
    case U_EMR_BITBLT:
        bitBlt(r, false);
        break;
    case U_EMR_STRETCHBLT:
        bitBlt(r, true);
        break;
    case U_EMR_SETDIBITSTODEVICE:
        setDiBitsToDevice(r);
        break;
    case U_EMR_STRETCHDIBITS:
        stretchDiBits(r);
        break;
    case U_EMR_ALPHABLEND:
        alphaBlend(r, false);
        break;
    case U_EMR_TRANSPARENTBLT:
        alphaBlend(r, true);
        break;
    case U_EMR_EXTTEXTOUTA:
        text(r, false);
        break;
    case U_EMR_EXTTEXTOUTW:
        text(r, true);
        break;
    case U_EMR_SMALLTEXTOUT:
        smallText(r);
        break;
    case U_EMR_GRADIENTFILL:
        gradientFill(r);
        break;
    default:
        return false;
    }
    return true;
}

void EmfPlayer::text(ByteView r, bool wide)
{
    textAt(r, offsetof(U_EMREXTTEXTOUTW, emrtext), wide);
}

void EmfPlayer::textAt(ByteView r, std::size_t at, bool wide)
{
    const QPointF reference = pointAt(r, at);
    const std::uint32_t chars = std::min(r.u32(at + 8), MaxTextUnits);
    const std::uint32_t offString = r.u32(at + 12);
    const std::uint32_t options = r.u32(at + 16);
    if (options & U_ETO_GLYPH_INDEX)
        return; // glyph numbers of a font that is not here
    std::optional<QRectF> rect;
    std::size_t offDxAt = at + 20;
    if (!(options & U_ETO_NO_RECT)) {
        rect = rectAt(r, at + 20);
        if (rect->isNull())
            rect.reset();
        offDxAt = at + 36;
    }
    const std::optional<ByteView> string = r.sub(offString, std::size_t(chars) * (wide ? 2 : 1));
    if (!string)
        return;
    QString text;
    QList<int> unitBytes;
    if (wide) {
        text.reserve(chars);
        for (std::uint32_t i = 0; i < chars; ++i)
            text.append(QChar(char16_t(string->u16(2 * std::size_t(i)))));
    } else {
        text = CodePageText::decode(
            QByteArray(reinterpret_cast<const char *>(string->data()), qsizetype(string->size())),
            m_canvas.state().font.charSet, &unitBytes);
    }
    // One spacing value for each code unit, or for each byte of 8-bit text.
    QList<double> dx;
    const std::uint32_t offDx = r.u32(offDxAt);
    const std::size_t stride = (options & U_ETO_PDY) ? 8 : 4;
    if (offDx != 0 && r.contains(offDx, std::size_t(chars) * stride)) {
        dx.reserve(chars);
        for (std::uint32_t i = 0; i < chars; ++i)
            dx.append(r.i32(offDx + stride * i));
        if (!wide)
            dx = CodePageText::spacingPerUnit(dx, unitBytes);
    }
    m_canvas.textOut(reference, text, options, rect, dx);
}

void EmfPlayer::smallText(ByteView r)
{
    const QPointF reference = pointAt(r, 8);
    const std::uint32_t chars = std::min(r.u32(16), MaxTextUnits);
    const std::uint32_t options = r.u32(20);
    if (options & U_ETO_GLYPH_INDEX)
        return;
    std::size_t at = 36;
    std::optional<QRectF> rect;
    if (!(options & U_ETO_NO_RECT)) {
        rect = rectAt(r, at);
        at += 16;
    }
    const bool small = options & U_ETO_SMALL_CHARS;
    const std::optional<ByteView> string = r.sub(at, std::size_t(chars) * (small ? 1 : 2));
    if (!string)
        return;
    QString text;
    for (std::uint32_t i = 0; i < chars; ++i)
        text.append(QChar(char16_t(small ? string->u8(i) : string->u16(2 * std::size_t(i)))));
    m_canvas.textOut(reference, text, options, rect, {});
}

void EmfPlayer::bitBlt(ByteView r, bool stretch)
{
    static_assert(offsetof(U_EMRBITBLT, offBmiSrc) == offsetof(U_EMRSTRETCHBLT, offBmiSrc));
    const QPointF dest = pointAt(r, offsetof(U_EMRBITBLT, Dest));
    const QPointF size = pointAt(r, offsetof(U_EMRBITBLT, cDest));
    const std::uint32_t rop = r.u32(offsetof(U_EMRBITBLT, dwRop));
    const QRectF destRect(dest, QSizeF(size.x(), size.y()));
    if (r.u32(offsetof(U_EMRBITBLT, cbBmiSrc)) == 0) {
        m_canvas.blit(destRect, QImage(), QRectF(), rop);
        return;
    }
    if (r.u32(offsetof(U_EMRBITBLT, iUsageSrc)) != U_DIB_RGB_COLORS)
        return;
    const QImage image =
        bitmap(r, offsetof(U_EMRBITBLT, offBmiSrc), offsetof(U_EMRBITBLT, offBitsSrc), false);
    const QPointF src = pointAt(r, offsetof(U_EMRBITBLT, Src));
    QPointF srcSize = size;
    if (stretch) {
        srcSize = pointAt(r, offsetof(U_EMRSTRETCHBLT, cSrc));
    } else {
        // The source is in its own device's units: the source transform's
        // scale turns the destination size into source pixels.
        const QTransform x = xformAt(r, offsetof(U_EMRBITBLT, xformSrc));
        if (std::isfinite(x.m11()) && std::isfinite(x.m22()) && x.m11() != 0 && x.m22() != 0)
            srcSize = QPointF(size.x() * x.m11(), size.y() * x.m22());
    }
    m_canvas.blit(destRect, image, QRectF(src, QSizeF(srcSize.x(), srcSize.y())), rop);
}

// Device-independent source rectangles of bottom-up bitmaps count their
// rows from the bottom.
static QRectF dibSource(const QImage &image, bool bottomUp, double x, double y, double w, double h)
{
    if (bottomUp)
        y = image.height() - y - h;
    return QRectF(x, y, w, h);
}

void EmfPlayer::stretchDiBits(ByteView r)
{
    if (r.u32(offsetof(U_EMRSTRETCHDIBITS, iUsageSrc)) != U_DIB_RGB_COLORS)
        return;
    const QPointF dest = pointAt(r, offsetof(U_EMRSTRETCHDIBITS, Dest));
    const QPointF destSize = pointAt(r, offsetof(U_EMRSTRETCHDIBITS, cDest));
    const std::uint32_t rop = r.u32(offsetof(U_EMRSTRETCHDIBITS, dwRop));
    const QRectF destRect(dest, QSizeF(destSize.x(), destSize.y()));
    if (r.u32(offsetof(U_EMRSTRETCHDIBITS, cbBmiSrc)) == 0) {
        m_canvas.blit(destRect, QImage(), QRectF(), rop);
        return;
    }
    bool bottomUp = true;
    const QImage image = bitmap(r, offsetof(U_EMRSTRETCHDIBITS, offBmiSrc),
                                offsetof(U_EMRSTRETCHDIBITS, offBitsSrc), false, &bottomUp);
    const QPointF src = pointAt(r, offsetof(U_EMRSTRETCHDIBITS, Src));
    const QPointF srcSize = pointAt(r, offsetof(U_EMRSTRETCHDIBITS, cSrc));
    m_canvas.blit(destRect, image,
                  dibSource(image, bottomUp, src.x(), src.y(), srcSize.x(), srcSize.y()), rop);
}

void EmfPlayer::setDiBitsToDevice(ByteView r)
{
    if (r.u32(offsetof(U_EMRSETDIBITSTODEVICE, iUsageSrc)) != U_DIB_RGB_COLORS)
        return;
    bool bottomUp = true;
    const QImage image = bitmap(r, offsetof(U_EMRSETDIBITSTODEVICE, offBmiSrc),
                                offsetof(U_EMRSETDIBITSTODEVICE, offBitsSrc), false, &bottomUp);
    const QPointF dest = pointAt(r, offsetof(U_EMRSETDIBITSTODEVICE, Dest));
    const QPointF src = pointAt(r, offsetof(U_EMRSETDIBITSTODEVICE, Src));
    const QPointF size = pointAt(r, offsetof(U_EMRSETDIBITSTODEVICE, cSrc));
    m_canvas.blit(QRectF(dest, QSizeF(size.x(), size.y())), image,
                  dibSource(image, bottomUp, src.x(), src.y(), size.x(), size.y()), 0x00CC0020);
}

void EmfPlayer::alphaBlend(ByteView r, bool transparent)
{
    static_assert(offsetof(U_EMRALPHABLEND, offBmiSrc) == offsetof(U_EMRTRANSPARENTBLT, offBmiSrc));
    static_assert(offsetof(U_EMRALPHABLEND, cSrc) == offsetof(U_EMRTRANSPARENTBLT, cSrc));
    if (r.u32(offsetof(U_EMRALPHABLEND, iUsageSrc)) != U_DIB_RGB_COLORS)
        return;
    constexpr std::size_t blend = offsetof(U_EMRALPHABLEND, Blend);
    const bool sourceAlpha = !transparent && (r.u8(blend + 3) & U_AC_SRC_ALPHA);
    const QImage image = bitmap(r, offsetof(U_EMRALPHABLEND, offBmiSrc),
                                offsetof(U_EMRALPHABLEND, offBitsSrc), sourceAlpha);
    const QPointF dest = pointAt(r, offsetof(U_EMRALPHABLEND, Dest));
    const QPointF destSize = pointAt(r, offsetof(U_EMRALPHABLEND, cDest));
    const QPointF src = pointAt(r, offsetof(U_EMRALPHABLEND, Src));
    const QPointF srcSize = pointAt(r, offsetof(U_EMRALPHABLEND, cSrc));
    const QRectF destRect(dest, QSizeF(destSize.x(), destSize.y()));
    const QRectF srcRect(src, QSizeF(srcSize.x(), srcSize.y()));
    if (transparent)
        m_canvas.transparentBlt(destRect, image, srcRect,
                                colourRef(r.u32(offsetof(U_EMRTRANSPARENTBLT, TColor))).rgb());
    else
        m_canvas.alphaBlend(destRect, image, srcRect, r.u8(blend + 2));
}

void EmfPlayer::gradientFill(ByteView r)
{
    const std::uint32_t vertices = r.u32(offsetof(U_EMRGRADIENTFILL, nTriVert));
    const std::uint32_t shapes = r.u32(offsetof(U_EMRGRADIENTFILL, nGradObj));
    const std::uint32_t mode = r.u32(offsetof(U_EMRGRADIENTFILL, ulMode));
    constexpr std::size_t first = sizeof(U_EMRGRADIENTFILL);
    constexpr std::size_t vertexSize = sizeof(U_TRIVERTEX);
    const std::size_t shapeSize = mode == U_GRADIENT_FILL_TRIANGLE ? 12 : 8;
    if (vertices > r.size() / vertexSize || shapes > r.size() / shapeSize ||
        !r.contains(first, std::size_t(vertices) * vertexSize))
        return;
    const std::size_t shapesAt = first + std::size_t(vertices) * vertexSize;
    if (!r.contains(shapesAt, std::size_t(shapes) * shapeSize))
        return;
    auto point = [&](std::uint32_t v) {
        return pointAt(r, first + vertexSize * v);
    };
    auto colour = [&](std::uint32_t v) {
        const std::size_t at = first + vertexSize * v + 8;
        return QColor(r.u16(at) >> 8, r.u16(at + 2) >> 8, r.u16(at + 4) >> 8);
    };
    for (std::uint32_t i = 0; i < shapes && !m_canvas.exhausted(); ++i) {
        const std::size_t at = shapesAt + shapeSize * i;
        const std::uint32_t a = r.u32(at);
        const std::uint32_t b = r.u32(at + 4);
        if (a >= vertices || b >= vertices)
            continue;
        if (mode == U_GRADIENT_FILL_TRIANGLE) {
            const std::uint32_t c = r.u32(at + 8);
            if (c >= vertices)
                continue;
            // Drawn in the mean of its corner colours.
            const QColor ca = colour(a), cb = colour(b), cc = colour(c);
            m_canvas.gradientTriangle(QPolygonF({point(a), point(b), point(c)}),
                                      QColor((ca.red() + cb.red() + cc.red()) / 3,
                                             (ca.green() + cb.green() + cc.green()) / 3,
                                             (ca.blue() + cb.blue() + cc.blue()) / 3));
        } else if (mode == U_GRADIENT_FILL_RECT_H || mode == U_GRADIENT_FILL_RECT_V) {
            m_canvas.gradientRect(QRectF(point(a), point(b)), colour(a), colour(b),
                                  mode == U_GRADIENT_FILL_RECT_V);
        }
    }
}
