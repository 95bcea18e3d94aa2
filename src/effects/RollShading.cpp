#include "RollShading.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

std::vector<std::int8_t> RollShading::shadeTable(int width)
{
    std::vector<std::int8_t> table(size_t(std::max(width, 0)), 0);
    const int z = width;
    if (z == 1) {
        table[0] = 110;
    } else if (z == 2) {
        table[0] = -110;
        table[1] = 110;
    } else if (z >= 3) {
        const int h = (z - 1) / 2;
        const int m = (z + 1) / 2;
        const double x = 220.0 / h;
        const int q = (z - 1) / 4;
        table[0] = -110;
        table[size_t(z - 1)] = -110;
        table[size_t(m - 1)] = 110;
        if (z % 2 == 0)
            table[size_t(m)] = 110;
        for (int i = 1; i <= q; ++i) {
            const auto v = std::int8_t(std::nearbyint(110 - i * x));
            table[size_t(i)] = std::int8_t(-v);
            table[size_t(z - 1 - i)] = std::int8_t(-v);
            if (z > 6) {
                table[size_t(m - 1 - i)] = v;
                table[size_t(z % 2 == 0 ? m + i : m + i - 1)] = v;
            }
        }
    }
    return table;
}

namespace {

constexpr quint32 colourBytes(int value)
{
    const auto byte = quint32(value);
    return byte | byte << 8 | byte << 16;
}

inline quint32 shadePixel(quint32 pixel, quint32 add, quint32 sub)
{
    quint32 out = pixel & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        int value =
            int(pixel >> shift & 0xFF) + int(add >> shift & 0xFF) - int(sub >> shift & 0xFF);
        value = value < 0 ? 0 : value > 255 ? 255 : value;
        out |= quint32(value) << shift;
    }
    return out;
}

} // namespace

RollShading::PixelOffsets RollShading::pixelOffsets(const std::vector<std::int8_t> &table)
{
    PixelOffsets offsets;
    offsets.add.reserve(table.size());
    offsets.sub.reserve(table.size());
    for (const std::int8_t value : table) {
        offsets.add.push_back(value > 0 ? colourBytes(value) : 0);
        offsets.sub.push_back(value < 0 ? colourBytes(-value) : 0);
    }
    return offsets;
}

void RollShading::shadeRow(const quint32 *src, quint32 *dst, const quint32 *add, const quint32 *sub,
                           int count)
{
    int i = 0;
#if defined(__SSE2__)
    for (; i + 4 <= count; i += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i));
        const __m128i up = _mm_loadu_si128(reinterpret_cast<const __m128i *>(add + i));
        const __m128i down = _mm_loadu_si128(reinterpret_cast<const __m128i *>(sub + i));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + i),
                         _mm_subs_epu8(_mm_adds_epu8(pixels, up), down));
    }
#endif
    for (; i < count; ++i)
        dst[i] = shadePixel(src[i], add[i], sub[i]);
}

void RollShading::shadeRowUniform(const quint32 *src, quint32 *dst, quint32 add, quint32 sub,
                                  int count)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i up = _mm_set1_epi32(int(add));
    const __m128i down = _mm_set1_epi32(int(sub));
    for (; i + 4 <= count; i += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + i),
                         _mm_subs_epu8(_mm_adds_epu8(pixels, up), down));
    }
#endif
    for (; i < count; ++i)
        dst[i] = shadePixel(src[i], add, sub);
}
