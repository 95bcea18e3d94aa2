// SPDX-License-Identifier: GPL-3.0-or-later
#include "MetafileDecoder.h"

#include "ByteView.h"
#include "EInvalidGraphic.h"
#include "EmfPlayer.h"
#include "GdiCanvas.h"
#include "WmfPlayer.h"

#include <uemf.h>

#include <cmath>
#include <optional>
#include <variant>

namespace {

constexpr double DotsPerInch = 96;
// Windows metafiles without a placeable header give no physical size: their
// window is taken as pixels, scaled down to this when it is larger.
constexpr int UnsizedMaxSide = 1024;

struct Emf
{
    EmfPlayer::Header header;
    QRectF picture; // the part of the reference device that is the picture
};

struct Wmf
{
    WmfPlayer::Header header;
    QRect window;
    QPointF unitsPerMm;
};

struct Layout
{
    std::variant<Emf, Wmf> kind;
    QSize size;
};

ByteView viewOf(const QByteArray &bytes)
{
    return ByteView(reinterpret_cast<const unsigned char *>(bytes.constData()),
                    std::size_t(bytes.size()));
}

[[noreturn]] void invalid()
{
    throw EInvalidGraphic::invalidMetafile();
}

// The pixel size of a picture width × height pixels large: a picture larger
// than the limits is drawn smaller, keeping its shape, whatever size its
// header declares.
QSize fittedSize(double width, double height, const MetafileDecoder::Limits &limits)
{
    if (!std::isfinite(width) || !std::isfinite(height) || width <= 0 || height <= 0)
        invalid();
    const double side = std::max(1, limits.maxSide);
    const double pixels = double(std::max<qint64>(1, limits.maxPixels));
    const double scale =
        std::min({1.0, side / width, side / height, std::sqrt(pixels / width / height)});
    const double w = std::clamp(std::round(width * scale), 1.0, side);
    const double h = std::clamp(std::round(height * scale), 1.0, side);
    QSize size{int(w), int(h)};
    // Rounding up may overshoot the pixel limit by a line.
    while (qint64(size.width()) * size.height() > limits.maxPixels &&
           std::max(size.width(), size.height()) > 1) {
        if (size.width() >= size.height())
            size.rwidth() -= 1;
        else
            size.rheight() -= 1;
    }
    return size;
}

double area(const QRectF &r)
{
    return r.isEmpty() ? 0 : r.width() * r.height();
}

// The part of the reference device that is the picture. That is the frame,
// unless most of the drawing lies outside it and covers little of it: some
// writers compute the frame in logical units although they draw through a
// scaling mapping mode, and the frame then points at empty space. The
// drawing's own extent is the picture then.
QRectF pictureRect(ByteView file, const EmfPlayer::Header &header, const QRectF &frame,
                   const MetafileDecoder::Limits &limits)
{
    GdiCanvas canvas(GdiCanvas::Measure{}, frame, header.devicePerMm, limits.paintedTotal);
    EmfPlayer player(file, canvas, limits.bitmapPixels);
    player.play();
    const GdiCanvas::Measurement &drawn = canvas.measurement();
    if (drawn.area > 0 && drawn.areaInFrame < drawn.area / 2 &&
        area(drawn.extent.intersected(frame)) < area(frame) / 2)
        return drawn.extent;
    return frame;
}

Layout layoutOf(const QByteArray &bytes, const MetafileDecoder::Limits &limits)
{
    const ByteView file = viewOf(bytes);
    if (const std::optional<EmfPlayer::Header> header = EmfPlayer::readHeader(file)) {
        if (!EmfPlayer::recordsComplete(file))
            invalid();
        // The frame, in 0.01 mm, becomes reference device units through the
        // reference device's pixels per millimetre.
        const QRect frame = header->frame;
        const double frameWidth = double(frame.right()) - frame.left();
        const double frameHeight = double(frame.bottom()) - frame.top();
        const QPointF perMm = header->devicePerMm;
        QRectF frameDevice;
        if (frameWidth > 0 && frameHeight > 0) {
            frameDevice = QRectF(frame.left() * perMm.x() / 100, frame.top() * perMm.y() / 100,
                                 frameWidth * perMm.x() / 100, frameHeight * perMm.y() / 100);
        } else {
            // No usable frame: the bounds in reference device pixels.
            const QRect b = header->bounds;
            frameDevice = QRectF(b.left(), b.top(), double(b.right()) - b.left() + 1,
                                 double(b.bottom()) - b.top() + 1);
        }
        if (!(frameDevice.width() > 0) || !(frameDevice.height() > 0))
            invalid();
        const Emf emf{*header, pictureRect(file, *header, frameDevice, limits)};
        const QSize size =
            fittedSize(emf.picture.width() / perMm.x() * DotsPerInch / 25.4,
                       emf.picture.height() / perMm.y() * DotsPerInch / 25.4, limits);
        return {emf, size};
    }
    if (const std::optional<WmfPlayer::Header> header = WmfPlayer::readHeader(file)) {
        if (!WmfPlayer::recordsComplete(file, *header))
            invalid();
        Wmf wmf{*header, {}, {}};
        QSize size;
        if (header->bounds && !header->bounds->isEmpty()) {
            wmf.window = *header->bounds;
            const double inch = header->unitsPerInch > 0 ? header->unitsPerInch : 1440;
            size = fittedSize(wmf.window.width() * DotsPerInch / inch,
                              wmf.window.height() * DotsPerInch / inch, limits);
            wmf.unitsPerMm = QPointF(size.width() / (wmf.window.width() / inch * 25.4),
                                     size.height() / (wmf.window.height() / inch * 25.4));
        } else {
            const std::optional<QRect> window = WmfPlayer::recordedWindow(file, *header);
            if (!window || window->isEmpty())
                invalid();
            wmf.window = *window;
            const double scale =
                std::min(1.0, double(UnsizedMaxSide) / std::max(window->width(), window->height()));
            size = fittedSize(window->width() * scale, window->height() * scale, limits);
            wmf.unitsPerMm = QPointF(DotsPerInch / 25.4 * scale, DotsPerInch / 25.4 * scale);
        }
        return {wmf, size};
    }
    invalid();
}

} // namespace

namespace MetafileDecoder {

QSize frameSize(const QByteArray &bytes, const Limits &limits)
{
    return layoutOf(bytes, limits).size;
}

QImage render(const QByteArray &bytes, const Limits &limits)
{
    const Layout layout = layoutOf(bytes, limits);
    QImage image(layout.size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        invalid();
    image.fill(Qt::transparent);
    const qint64 area = qint64(image.width()) * image.height();
    const qint64 budget =
        std::min(limits.paintedTotal, limits.paintedPerPixel * std::max<qint64>(area, 65536));
    const ByteView file = viewOf(bytes);

    if (const Emf *emf = std::get_if<Emf>(&layout.kind)) {
        const QRectF f = emf->picture;
        const double sx = image.width() / f.width();
        const double sy = image.height() / f.height();
        const QTransform playback(sx, 0, 0, sy, -f.left() * sx, -f.top() * sy);
        GdiCanvas canvas(image, playback, emf->header.devicePerMm, budget);
        EmfPlayer player(file, canvas, limits.bitmapPixels);
        player.play();
    } else {
        const Wmf &wmf = std::get<Wmf>(layout.kind);
        GdiCanvas canvas(image, QTransform(), wmf.unitsPerMm, budget);
        // The window starts as the picture's frame and the viewport as the
        // whole image; the records may then set their own window.
        GdiState &state = canvas.state();
        state.mapMode = U_MM_ANISOTROPIC;
        state.windowOrg = wmf.window.topLeft();
        state.windowExt = wmf.window.size();
        state.viewportExt = image.size();
        WmfPlayer player(file, wmf.header, canvas, limits.bitmapPixels);
        player.play();
    }
    return image;
}

} // namespace MetafileDecoder
