// SPDX-License-Identifier: GPL-3.0-or-later
// Metafile bytes: any input either renders within the picture limits or is
// refused as not valid; nothing reads outside the input or runs without end.
#include "EInvalidGraphic.h"
#include "FuzzCheck.h"
#include "MetafileDecoder.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

namespace {

// Text drawing needs the application's font database.
void ensureApplication()
{
    if (QGuiApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_metafile";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

// Smaller than the program's limits, so that each input renders quickly.
MetafileDecoder::Limits fuzzLimits()
{
    MetafileDecoder::Limits limits;
    limits.maxSide = 1024;
    limits.maxPixels = 512 * 512;
    limits.bitmapPixels = 1 << 20;
    limits.paintedTotal = qint64(1) << 26;
    return limits;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ensureApplication();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const MetafileDecoder::Limits limits = fuzzLimits();
    try {
        const QSize frame = MetafileDecoder::frameSize(bytes, limits);
        const QImage image = MetafileDecoder::render(bytes, limits);
        fuzzCheck(image.size() == frame, "the picture has the frame's size");
        fuzzCheck(image.width() <= limits.maxSide && image.height() <= limits.maxSide,
                  "the picture keeps within the side limit");
    } catch (const EInvalidGraphic &e) {
        fuzzCheck(e.message() == QLatin1String("Metafile is not valid"),
                  "a refused file says it is not a valid metafile");
    }
    return 0;
}
