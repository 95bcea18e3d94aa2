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

// dst[i] = src[i] with add[i] added and sub[i] subtracted, byte by byte, with saturation.
void shadeRow(const quint32 *src, quint32 *dst, const quint32 *add, const quint32 *sub, int count);
// The same with one offset for the whole row.
void shadeRowUniform(const quint32 *src, quint32 *dst, quint32 add, quint32 sub, int count);

} // namespace RollShading
