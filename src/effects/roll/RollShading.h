// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <cstdint>
#include <vector>

// The cylinder shading of the roll band: a table of signed offsets across the band, added to
// the blue, green and red bytes of each pixel with saturation.
namespace RollShading {

// Offsets for a band of `width` pixels: -110 at both edges rising linearly to +110 in the
// middle (one entry +110 for width 1, -110 and +110 for width 2).
std::vector<std::int8_t> shadeTable(int width);

// The table spread to whole pixels: the positive part to add and the negative part to
// subtract, in the colour bytes only, so the alpha byte stays as it is.
struct PixelOffsets
{
    std::vector<quint32> add;
    std::vector<quint32> sub;
};
PixelOffsets pixelOffsets(const std::vector<std::int8_t> &table);

// A rectangle of 32-bit pixels read from one image and written to another.
struct PixelBlock
{
    const uchar *src = nullptr;
    qsizetype srcStride = 0; // bytes from one row to the next
    uchar *dst = nullptr;
    qsizetype dstStride = 0;
    int width = 0;
    int height = 0;
};

// The code that shades pixels: plain C++, or the processor's vector units.
enum class Kernel
{
    Portable,
    Sse2,
    Avx2
};

// The kernels this processor can run, the portable one first and the widest last.
std::vector<Kernel> availableKernels();
// The kernel in use: the widest available unless useKernel() chose another.
Kernel kernel();
// Uses `kernel` from now on if the processor can run it; returns whether it can.
bool useKernel(Kernel kernel);

// Bands that move right or left: pixel x of every row gets add[x] and sub[x].
void shadeColumns(const PixelBlock &block, const quint32 *add, const quint32 *sub);
// Bands that move down or up: every pixel of row y gets add[y] and sub[y].
void shadeRows(const PixelBlock &block, const quint32 *add, const quint32 *sub);

// dst[i] = src[i] with add[i] added and sub[i] subtracted, byte by byte, with saturation.
void shadeRow(const quint32 *src, quint32 *dst, const quint32 *add, const quint32 *sub, int count);
// The same with one offset for the whole row.
void shadeRowUniform(const quint32 *src, quint32 *dst, quint32 add, quint32 sub, int count);

} // namespace RollShading
