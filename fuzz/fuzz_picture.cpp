// SPDX-License-Identifier: GPL-3.0-or-later
// Corner picture bytes: read as a JPEG, a bitmap and an icon file (the program chooses the
// reader by the file name alone, so any bytes can reach any of them). Each either gives a
// picture within the limits or is refused with one of the loaders' messages; nothing reads
// outside the input, leaks or runs without end.
#include "BitmapIconDecoder.h"
#include "EPictureError.h"
#include "FuzzCheck.h"
#include "JpegDecoder.h"
#include "PictureFit.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QRegularExpression>

#include <cstddef>
#include <cstdint>

namespace {

// Qt's readers warn about every bad offset; millions of lines would only slow the run.
void quiet(QtMsgType, const QMessageLogContext &, const QString &)
{}

// Image format plugins (the icon reader is one) are found through the application.
void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    qInstallMessageHandler(quiet);
    static int argc = 1;
    static char name[] = "fuzz_picture";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// Smaller than the program's limits, so that each input decodes quickly.
constexpr qint64 fuzzPixels = 1 << 20;
constexpr long fuzzLibraryMemory = 8L * 1024 * 1024;

bool isSizeRefusal(const QString &message)
{
    static const QRegularExpression pattern(
        QStringLiteral("^Picture is too large( to decode in \\d+ MB)? \\(\\d+ x \\d+ pixels\\)$"));
    return pattern.match(message).hasMatch();
}

void readJpeg(const QByteArray &bytes)
{
    // Drawn in the corner picture's designed client area.
    const auto drawSize = [](QSize natural) {
        return PictureFit::centerStretch(QRect(0, 0, 131, 127), 0, natural).size();
    };
    JpegDecoder::Limits limits;
    limits.maxPixels = fuzzPixels;
    limits.maxLibraryMemory = fuzzLibraryMemory;
    try {
        const JpegDecoder::Result result = JpegDecoder::decode(bytes, drawSize, limits);
        const QImage &image = result.image;
        fuzzCheck(!image.isNull() && image.format() == QImage::Format_RGB32,
                  "a decoded JPEG is a 32-bit RGB image");
        fuzzCheck(qint64(image.width()) * image.height() <= fuzzPixels,
                  "a decoded JPEG keeps within the pixel limit");
        fuzzCheck(image.width() <= result.natural.width() &&
                      image.height() <= result.natural.height(),
                  "a JPEG is never decoded larger than it is");
        fuzzCheck(result.reduced == (image.size() != result.natural),
                  "a JPEG is called reduced exactly when it is decoded smaller");
    } catch (const EPictureError &e) {
        static const QRegularExpression jpegError(QStringLiteral("^JPEG error #\\d+$"));
        fuzzCheck(jpegError.match(e.message()).hasMatch() || isSizeRefusal(e.message()),
                  "a refused JPEG says why in one of the known messages");
    }
}

void readWithQt(const QByteArray &bytes, BitmapIconDecoder::Format format)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const bool icon = format == BitmapIconDecoder::Format::Icon;
    try {
        const QImage image = BitmapIconDecoder::decode(&buffer, format, fuzzPixels);
        fuzzCheck(!image.isNull(), "a decoded picture is not empty");
        fuzzCheck(image.format() ==
                      (icon ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32),
                  "a decoded picture has the format it is drawn in");
        fuzzCheck(qint64(image.width()) * image.height() <= fuzzPixels,
                  "a decoded picture keeps within the pixel limit");
    } catch (const EPictureError &e) {
        const QString invalid = icon ? QStringLiteral("Icon image is not valid")
                                     : QStringLiteral("Bitmap image is not valid");
        fuzzCheck(e.message() == invalid || isSizeRefusal(e.message()),
                  "a refused picture says why in one of the known messages");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ensureApplication();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    readJpeg(bytes);
    readWithQt(bytes, BitmapIconDecoder::Format::Bitmap);
    readWithQt(bytes, BitmapIconDecoder::Format::Icon);
    return 0;
}
