// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// Recognises, checks and renders enhanced and Windows metafiles, within
// limits that bound the memory and the time any file can take.
namespace MetafileDecoder {

struct Limits
{
    // The rendered picture's size, whatever size the file declares.
    int maxSide = 8192;
    qint64 maxPixels = qint64(16) * 1024 * 1024;
    // Decoded bitmap pixels over the whole file.
    qint64 bitmapPixels = qint64(256) * 1024 * 1024;
    // Painted pixels over the whole file, as multiples of the picture's area
    // and in total.
    qint64 paintedPerPixel = 1000;
    qint64 paintedTotal = qint64(4) * 1000 * 1000 * 1000;
};

// The picture size in pixels at 96 dots per inch, made smaller in the same
// shape to fit maxSide and maxPixels; throws EInvalidGraphic for anything
// that is not a complete metafile with a frame or bounds of some size.
QSize frameSize(const QByteArray &bytes, const Limits &limits = {});

// The picture rendered at frameSize() on a transparent background; throws
// EInvalidGraphic as frameSize does.
QImage render(const QByteArray &bytes, const Limits &limits = {});

} // namespace MetafileDecoder
