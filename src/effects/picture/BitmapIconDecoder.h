// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

class QIODevice;

// Decodes bitmap (.bmp) and icon (.ico) files through Qt's image readers, with the picture
// size limit the JPEG decoder uses. Throws EPictureError: "Bitmap image is not valid",
// "Icon image is not valid", or a size refusal.
namespace BitmapIconDecoder {

enum class Format
{
    Bitmap,
    Icon
};

// Reads from the device's current position. An icon file holds several sizes: the largest
// is taken. Bitmaps come back as 32-bit RGB, icons as premultiplied ARGB.
QImage decode(QIODevice *device, Format format, qint64 maxPixels);

} // namespace BitmapIconDecoder
