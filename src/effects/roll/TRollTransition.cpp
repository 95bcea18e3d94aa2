// SPDX-License-Identifier: GPL-3.0-or-later
#include "TRollTransition.h"

#include "CpuFeatures.h"
#include "RollGeometry.h"
#include "RollShading.h"
#include "FrameCopy.h"
#include "TTETransitionData.h"

#include <optional>

namespace {

// Per-pass data of the roll.
class TRollData final : public EffectData
{
public:
    TRollData(TTEEffectDirection direction, bool unroll, int width, int height, int size)
        : geometry(direction, unroll, width, height, size)
    {}

    RollGeometry geometry;
    bool shaded = false;
    bool stripFromMirror = false;
    int tableLength = 0;
    std::vector<std::int8_t> table;
    RollShading::PixelOffsets offsets;
    QImage mirror;

    void buildTable(int length)
    {
        table = RollShading::shadeTable(length);
        offsets = RollShading::pixelOffsets(table);
        tableLength = length;
    }
};

// Shades the band's pixels from the mirror image straight onto the surface; `drawn` is the
// part of the band inside the frame, `toMirror` takes band corners to the mirror image. One pass
// over the pixels, the same bytes a separate band image copied onto the surface would leave.
void shadeBand(TTETransitionData &data, TRollData &roll, const QRect &band, const QRect &drawn,
               QPoint toMirror)
{
    QImage &surface = *data.surface;
    Q_ASSERT(surface.depth() == 32);
    const QRect onSurface = drawn.translated(data.origin) & surface.rect();
    if (onSurface.isEmpty())
        return;
    const QPoint first = onSurface.topLeft() - data.origin; // in frame coordinates
    const QPoint inMirror = first + toMirror;
    RollShading::PixelBlock block;
    block.srcStride = roll.mirror.bytesPerLine();
    block.src = roll.mirror.constBits() + inMirror.y() * block.srcStride + inMirror.x() * 4;
    block.dstStride = surface.bytesPerLine();
    block.dst = surface.bits() + onSurface.top() * block.dstStride + onSurface.left() * 4;
    block.width = onSurface.width();
    block.height = onSurface.height();
    if (roll.geometry.horizontal()) {
        const size_t column = size_t(first.x() - band.left());
        RollShading::shadeColumns(block, roll.offsets.add.data() + column,
                                  roll.offsets.sub.data() + column);
    } else {
        const size_t row = size_t(first.y() - band.top());
        RollShading::shadeRows(block, roll.offsets.add.data() + row, roll.offsets.sub.data() + row);
    }
}

// Copies the strip an unroll to the right or left flattens from the mirror image, which holds
// the target's own bytes flipped left to right. The band reads the same rows of the mirror, so
// the strip costs no trip to the target's rows, which lie a whole frame row apart.
void copyStripFromMirror(TTETransitionData &data, const TRollData &roll, const QRect &strip)
{
    QImage &surface = *data.surface;
    const QRect onSurface = strip.translated(data.origin) & surface.rect();
    if (onSurface.isEmpty())
        return;
    const QPoint first = onSurface.topLeft() - data.origin; // in frame coordinates
    const qsizetype inStride = roll.mirror.bytesPerLine(), outStride = surface.bytesPerLine();
    const uchar *in =
        roll.mirror.constBits() + first.y() * inStride + qsizetype(data.width - 1 - first.x()) * 4;
    uchar *out = surface.bits() + onSurface.top() * outStride + qsizetype(onSurface.left()) * 4;
    for (int row = 0; row < onSurface.height(); ++row, in += inStride, out += outStride) {
        const auto *from = reinterpret_cast<const quint32 *>(in);
        auto *to = reinterpret_cast<quint32 *>(out);
        for (int i = 0; i < onSurface.width(); ++i)
            to[i] = from[-i];
    }
}

} // namespace

TRollTransition::TRollTransition()
{
    initDirection(tedDown);
}

std::unique_ptr<TTransitionEffect> TRollTransition::deviceCopy() const
{
    return std::unique_ptr<TTransitionEffect>(new TRollTransition(*this));
}

bool TRollTransition::shadingOn(QImage::Format format) const
{
    const int bits = QImage::toPixelFormat(format).bitsPerPixel();
    const bool deepEnough = bits == 15 || bits == 16 || bits == 24 || bits == 32;
    return Use3D && Size > 0 && deepEnough && CpuFeatures::hasMmx();
}

void TRollTransition::Initialize(TTETransitionData &data, int &frameCount)
{
    const TTEEffectDirection direction = effectiveDirection();
    const bool unroll = Reversed ? !Unroll : Unroll;
    auto roll = std::make_unique<TRollData>(direction, unroll, data.width, data.height, Size);
    frameCount = roll->geometry.frameCount();

    roll->shaded = shadingOn(data.pixelFormat);
    if (roll->shaded && unroll)
        roll->buildTable(Size);

    const bool horizontal = roll->geometry.horizontal();
    const QImage *from = unroll ? data.target : data.source;
    if (from && !from->isNull()) {
        roll->mirror = from->convertToFormat(QImage::Format_RGB32)
                           .mirrored(/*horizontal=*/horizontal, /*vertical=*/!horizontal);
        roll->stripFromMirror = unroll && horizontal && from->format() == QImage::Format_RGB32 &&
                                roll->mirror.size() == QSize(data.width, data.height);
    }
    data.effectData = std::move(roll);
}

QRect TRollTransition::RenderFrame(TTETransitionData &data, int frame, int /*previous*/, int step)
{
    auto &roll = static_cast<TRollData &>(*data.effectData);
    RollGeometry &geometry = roll.geometry;
    geometry.advance(frame, step);

    const QRect frameRect(0, 0, data.width, data.height);
    const QRect strip = geometry.strip().toRect() & frameRect;
    // The band, clipped to the frame and to what the mirror image holds.
    const QRect band = geometry.band().toRect();
    const QPoint toMirror(geometry.mirrorX() - band.left(), geometry.mirrorY() - band.top());
    const QRect drawn = band & frameRect & roll.mirror.rect().translated(-toMirror);
    if (roll.shaded && !drawn.isEmpty() && geometry.bandWidth() != roll.tableLength)
        roll.buildTable(geometry.bandWidth());

    if (!strip.isEmpty() && data.target) {
        if (roll.stripFromMirror)
            copyStripFromMirror(data, roll, strip);
        else
            FrameCopy::copyRect(*data.surface, data.origin + strip.topLeft(), *data.target,
                                   strip);
    }
    if (!drawn.isEmpty()) {
        if (roll.shaded) {
            shadeBand(data, roll, band, drawn, toMirror);
        } else {
            FrameCopy::copyRect(*data.surface, data.origin + drawn.topLeft(), roll.mirror,
                                   drawn.translated(toMirror));
        }
    }
    return strip | drawn;
}

void TRollTransition::Finalize(TTETransitionData &data)
{
    data.effectData.reset();
}
