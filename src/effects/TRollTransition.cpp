#include "TRollTransition.h"

#include "CpuFeatures.h"
#include "RollGeometry.h"
#include "RollShading.h"
#include "TTEFrameCopy.h"
#include "TTETransitionData.h"

#include <optional>

namespace {

// Per-pass data of the roll.
class TRollData final : public TTEEffectData
{
public:
    TRollData(TTEEffectDirection direction, bool unroll, int width, int height, int size)
        : geometry(direction, unroll, width, height, size)
    {}

    RollGeometry geometry;
    bool shaded = false;
    int tableLength = 0;
    std::vector<std::int8_t> table;
    RollShading::PixelOffsets offsets;
    QImage mirror;
    QImage band;

    void buildTable(int length)
    {
        table = RollShading::shadeTable(length);
        offsets = RollShading::pixelOffsets(table);
        tableLength = length;
    }
};

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

    const int size = std::max(Size, 0);
    const bool horizontal = roll->geometry.horizontal();
    if (size > 0 && data.width > 0 && data.height > 0) {
        roll->band = horizontal ? QImage(size, data.height, QImage::Format_RGB32)
                                : QImage(data.width, size, QImage::Format_RGB32);
    }
    const QImage *from = unroll ? data.target : data.source;
    if (from && !from->isNull()) {
        roll->mirror = from->convertToFormat(QImage::Format_RGB32)
                           .mirrored(/*horizontal=*/horizontal, /*vertical=*/!horizontal);
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
    if (!strip.isEmpty() && data.target)
        TTEFrameCopy::copyRect(*data.surface, data.origin + strip.topLeft(), *data.target, strip);

    // The band, clipped to the frame and to what the mirror image holds.
    const QRect band = geometry.band().toRect();
    const QPoint toMirror(geometry.mirrorX() - band.left(), geometry.mirrorY() - band.top());
    const QRect drawn = band & frameRect & roll.mirror.rect().translated(-toMirror);
    if (!drawn.isEmpty()) {
        if (roll.shaded) {
            const int z = geometry.bandWidth();
            if (z != roll.tableLength)
                roll.buildTable(z);
            const bool horizontal = geometry.horizontal();
            for (int y = drawn.top(); y <= drawn.bottom(); ++y) {
                const int row = y - band.top();
                const int column = drawn.left() - band.left();
                const auto *src =
                    reinterpret_cast<const quint32 *>(roll.mirror.constScanLine(y + toMirror.y())) +
                    (drawn.left() + toMirror.x());
                auto *dst = reinterpret_cast<quint32 *>(roll.band.scanLine(row)) + column;
                if (horizontal) {
                    RollShading::shadeRow(src, dst, roll.offsets.add.data() + column,
                                          roll.offsets.sub.data() + column, drawn.width());
                } else {
                    RollShading::shadeRowUniform(src, dst, roll.offsets.add[size_t(row)],
                                                 roll.offsets.sub[size_t(row)], drawn.width());
                }
            }
            TTEFrameCopy::copyRect(*data.surface, data.origin + drawn.topLeft(), roll.band,
                                   drawn.translated(-band.topLeft()));
        } else {
            TTEFrameCopy::copyRect(*data.surface, data.origin + drawn.topLeft(), roll.mirror,
                                   drawn.translated(toMirror));
        }
    }
    return strip | drawn;
}

void TRollTransition::Finalize(TTETransitionData &data)
{
    data.effectData.reset();
}
