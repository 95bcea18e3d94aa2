// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <functional>

// Decodes JPEG data through libjpeg at the smallest scale (1/8 .. 8/8) that still covers the
// size the picture will be drawn at. Throws EPictureError: "JPEG error #%d" with libjpeg's
// message code, or a size refusal for pictures too large to hold in memory.
namespace JpegDecoder {

// More decoded pixels than this are refused (160 MB at 4 bytes a pixel).
constexpr qint64 maxPixels = 40'000'000;
// What libjpeg itself may take. A progressive picture keeps every coefficient of the whole
// picture whatever the scale (about 3 bytes a pixel at 4:2:0), so this is what bounds a
// picture whose header claims a huge size.
constexpr long maxLibraryMemory = 128L * 1024 * 1024;

struct Limits
{
    qint64 maxPixels = JpegDecoder::maxPixels;
    long maxLibraryMemory = JpegDecoder::maxLibraryMemory;
};

struct Result
{
    QImage image;  // 32-bit RGB, possibly reduced
    QSize natural; // the picture's full size
    bool reduced = false;
};

// drawSize maps the full size to the size it is drawn at; empty means full size.
Result decode(const QByteArray &data, const std::function<QSize(QSize)> &drawSize,
              const Limits &limits = {});

} // namespace JpegDecoder
