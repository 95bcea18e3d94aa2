// SPDX-License-Identifier: GPL-3.0-or-later
#include "BitmapIconDecoder.h"

#include "EPictureError.h"

#include <QImageReader>

namespace {

QString tooLarge(const QSize &size)
{
    return TarvikError::tr("Picture is too large (%1 x %2 pixels)")
        .arg(size.width())
        .arg(size.height());
}

QString notValid(BitmapIconDecoder::Format format)
{
    return format == BitmapIconDecoder::Format::Icon ? TarvikError::tr("Icon image is not valid")
                                                     : TarvikError::tr("Bitmap image is not valid");
}

bool exceeds(const QSize &size, qint64 maxPixels)
{
    return qint64(size.width()) * size.height() > maxPixels;
}

} // namespace

QImage BitmapIconDecoder::decode(QIODevice *device, Format format, qint64 maxPixels)
{
    const bool icon = format == Format::Icon;
    const qint64 start = device->pos();
    QImageReader reader(device, icon ? "ico" : "bmp");
    reader.setDecideFormatFromContent(false);
    // Only the reader of this format: guessing would load every image plugin there is to ask
    // each, and keep them loaded.
    reader.setAutoDetectImageFormat(false);
    if (!reader.canRead())
        throw EPictureError(notValid(format));
    if (icon) {
        // The directory (6 bytes, then 16 for each entry) must be there in full; a header
        // claiming thousands of entries in a small file is not walked through.
        const qint64 directoryBytes = 6 + 16 * qint64(reader.imageCount());
        if (!device->isSequential() && device->size() - start < directoryBytes)
            throw EPictureError(notValid(format));
        int best = 0;
        qint64 bestArea = -1;
        for (int i = 0; i < reader.imageCount() && reader.jumpToImage(i); ++i) {
            const QSize size = reader.size();
            if (qint64(size.width()) * size.height() > bestArea) {
                bestArea = qint64(size.width()) * size.height();
                best = i;
            }
        }
        reader.jumpToImage(best);
    }
    // The header's size is refused before any pixel memory is taken.
    const QSize size = reader.size();
    if (size.isValid() && exceeds(size, maxPixels))
        throw EPictureError(tooLarge(size));

    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw EPictureError(notValid(format));
    if (exceeds(image.size(), maxPixels))
        throw EPictureError(tooLarge(image.size()));
    return image.convertToFormat(icon ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}
