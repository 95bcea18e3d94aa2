// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteView.h"

#include <QImage>

// Turns the device-independent bitmaps that metafile records carry into
// images. Anything unsupported, inconsistent or larger than the pixel limit
// gives a null image, and the record that carries it draws nothing.
namespace DibDecoder {

struct Options
{
    qint64 maxPixels = 0;
    // 32-bit pixels keep their alpha byte only for alpha blending; plain
    // blits treat the fourth byte as unused.
    bool keepAlpha = false;
};

// A bitmap given as its info block (header and colour table) and its bits.
QImage decode(ByteView info, ByteView bits, const Options &options);

// A packed bitmap: header, colour table and bits in one block.
QImage decodePacked(ByteView packed, const Options &options);

// A device-dependent bitmap of the Windows metafiles: its 10-byte header
// and its rows, top row first. Monochrome, 24- and 32-bit ones are read.
QImage decodeBitmap16(ByteView header, ByteView bits, const Options &options);

} // namespace DibDecoder
