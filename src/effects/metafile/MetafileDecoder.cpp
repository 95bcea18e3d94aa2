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
    QRectF frameDevice; // the frame in reference device units
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

QSize checkedSize(double width, double height, const MetafileDecoder::Limits &limits)
{
    if (!std::isfinite(width) || !std::isfinite(height) || width <= 0 || height <= 0)
        invalid();
    const double w = std::max(1.0, std::round(width));
    const double h = std::max(1.0, std::round(height));
    if (w > limits.maxSide || h > limits.maxSide || w * h > double(limits.maxPixels))
        invalid();
    return QSize(int(w), int(h));
}

Layout layoutOf(const QByteArray &bytes, const MetafileDecoder::Limits &limits)
{
    const ByteView file = viewOf(bytes);
    if (const std::optional<EmfPlayer::Header> header = EmfPlayer::readHeader(file)) {
        if (!EmfPlayer::recordsComplete(file))
            invalid();
        Emf emf{*header, {}};
        const QRect frame = header->frame;
        const double frameWidth = double(frame.right()) - frame.left();
        const double frameHeight = double(frame.bottom()) - frame.top();
        const QPointF perMm = header->devicePerMm;
        QSize size;
        if (frameWidth > 0 && frameHeight > 0) {
            size = checkedSize(frameWidth * DotsPerInch / 2540, frameHeight * DotsPerInch / 2540,
                               limits);
            emf.frameDevice = QRectF(frame.left() * perMm.x() / 100, frame.top() * perMm.y() / 100,
                                     frameWidth * perMm.x() / 100, frameHeight * perMm.y() / 100);
        } else {
            // No usable frame: the bounds in reference device pixels.
            const QRect b = header->bounds;
            const double w = double(b.right()) - b.left() + 1;
            const double h = double(b.bottom()) - b.top() + 1;
            size = checkedSize(w / perMm.x() * DotsPerInch / 25.4,
                               h / perMm.y() * DotsPerInch / 25.4, limits);
            emf.frameDevice = QRectF(b.left(), b.top(), w, h);
        }
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
            size = checkedSize(wmf.window.width() * DotsPerInch / inch,
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
            size = checkedSize(window->width() * scale, window->height() * scale, limits);
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
        const QRectF f = emf->frameDevice;
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
