// SPDX-License-Identifier: GPL-3.0-or-later
#include "RollShading.h"

#include "CpuFeatures.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#if defined(__i386__) || defined(__x86_64__)
#define TARVIK_X86_KERNELS 1
#include <immintrin.h>
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

using RollShading::Kernel;
using RollShading::PixelBlock;

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

inline const quint32 *srcRow(const PixelBlock &block, int y)
{
    return reinterpret_cast<const quint32 *>(block.src + y * block.srcStride);
}

inline quint32 *dstRow(const PixelBlock &block, int y)
{
    return reinterpret_cast<quint32 *>(block.dst + y * block.dstStride);
}

void portableColumns(const PixelBlock &block, const quint32 *add, const quint32 *sub)
{
    for (int y = 0; y < block.height; ++y) {
        const quint32 *src = srcRow(block, y);
        quint32 *dst = dstRow(block, y);
        for (int i = 0; i < block.width; ++i)
            dst[i] = shadePixel(src[i], add[i], sub[i]);
    }
}

void portableRows(const PixelBlock &block, const quint32 *add, const quint32 *sub)
{
    for (int y = 0; y < block.height; ++y) {
        const quint32 *src = srcRow(block, y);
        quint32 *dst = dstRow(block, y);
        for (int i = 0; i < block.width; ++i)
            dst[i] = shadePixel(src[i], add[y], sub[y]);
    }
}

#if defined(TARVIK_X86_KERNELS)

// Saturating byte additions shade four (SSE2) or eight (AVX2) pixels at once; the offsets'
// alpha bytes are 0, so alpha passes through as in shadePixel.

__attribute__((target("sse2"))) inline __m128i shade4(const quint32 *src, __m128i up, __m128i down)
{
    const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src));
    return _mm_subs_epu8(_mm_adds_epu8(pixels, up), down);
}

__attribute__((target("sse2"))) inline __m128i load4(const quint32 *from)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(from));
}

__attribute__((target("sse2"))) inline void store4(quint32 *to, __m128i pixels)
{
    _mm_storeu_si128(reinterpret_cast<__m128i *>(to), pixels);
}

__attribute__((target("sse2"))) void sse2Columns(const PixelBlock &block, const quint32 *add,
                                                 const quint32 *sub)
{
    for (int y = 0; y < block.height; ++y) {
        const quint32 *src = srcRow(block, y);
        quint32 *dst = dstRow(block, y);
        int i = 0;
        for (; i + 4 <= block.width; i += 4)
            store4(dst + i, shade4(src + i, load4(add + i), load4(sub + i)));
        for (; i < block.width; ++i)
            dst[i] = shadePixel(src[i], add[i], sub[i]);
    }
}

__attribute__((target("sse2"))) void sse2Rows(const PixelBlock &block, const quint32 *add,
                                              const quint32 *sub)
{
    for (int y = 0; y < block.height; ++y) {
        const quint32 *src = srcRow(block, y);
        quint32 *dst = dstRow(block, y);
        const __m128i up = _mm_set1_epi32(int(add[y]));
        const __m128i down = _mm_set1_epi32(int(sub[y]));
        int i = 0;
        for (; i + 4 <= block.width; i += 4)
            store4(dst + i, shade4(src + i, up, down));
        for (; i < block.width; ++i)
            dst[i] = shadePixel(src[i], add[y], sub[y]);
    }
}

__attribute__((target("avx2"))) inline __m256i load8(const quint32 *from)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i *>(from));
}

__attribute__((target("avx2"))) inline void store8(quint32 *to, __m256i pixels)
{
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(to), pixels);
}

__attribute__((target("avx2"))) inline __m256i shade8(const quint32 *src, __m256i up, __m256i down)
{
    return _mm256_subs_epu8(_mm256_adds_epu8(load8(src), up), down);
}

__attribute__((target("avx2"))) void avx2Columns(const PixelBlock &block, const quint32 *add,
                                                 const quint32 *sub)
{
    for (int y = 0; y < block.height; ++y) {
        const quint32 *src = srcRow(block, y);
        quint32 *dst = dstRow(block, y);
        int i = 0;
        for (; i + 8 <= block.width; i += 8)
            store8(dst + i, shade8(src + i, load8(add + i), load8(sub + i)));
        if (i + 4 <= block.width) {
            store4(dst + i, shade4(src + i, load4(add + i), load4(sub + i)));
            i += 4;
        }
        for (; i < block.width; ++i)
            dst[i] = shadePixel(src[i], add[i], sub[i]);
    }
}

__attribute__((target("avx2"))) void avx2Rows(const PixelBlock &block, const quint32 *add,
                                              const quint32 *sub)
{
    for (int y = 0; y < block.height; ++y) {
        const quint32 *src = srcRow(block, y);
        quint32 *dst = dstRow(block, y);
        const __m256i up = _mm256_set1_epi32(int(add[y]));
        const __m256i down = _mm256_set1_epi32(int(sub[y]));
        int i = 0;
        for (; i + 8 <= block.width; i += 8)
            store8(dst + i, shade8(src + i, up, down));
        if (i + 4 <= block.width) {
            store4(dst + i,
                   shade4(src + i, _mm256_castsi256_si128(up), _mm256_castsi256_si128(down)));
            i += 4;
        }
        for (; i < block.width; ++i)
            dst[i] = shadePixel(src[i], add[y], sub[y]);
    }
}

#endif

using Shade = void (*)(const PixelBlock &, const quint32 *, const quint32 *);

struct Kernels
{
    Shade columns;
    Shade rows;
};

Kernels kernelsOf(Kernel kernel)
{
    switch (kernel) {
#if defined(TARVIK_X86_KERNELS)
    case Kernel::Sse2:
        return {sse2Columns, sse2Rows};
    case Kernel::Avx2:
        return {avx2Columns, avx2Rows};
#endif
    default:
        return {portableColumns, portableRows};
    }
}

bool canRun(Kernel kernel)
{
    switch (kernel) {
    case Kernel::Portable:
        return true;
    case Kernel::Sse2:
        return CpuFeatures::hasSse2();
    case Kernel::Avx2:
        return CpuFeatures::hasAvx2();
    }
    return false;
}

// The choice is read once per band, from whichever thread renders it.
std::atomic<Kernel> &currentKernel()
{
    static std::atomic<Kernel> current(RollShading::availableKernels().back());
    return current;
}

} // namespace

std::vector<Kernel> RollShading::availableKernels()
{
    std::vector<Kernel> kernels;
    for (const Kernel kernel : {Kernel::Portable, Kernel::Sse2, Kernel::Avx2}) {
        if (canRun(kernel))
            kernels.push_back(kernel);
    }
    return kernels;
}

Kernel RollShading::kernel()
{
    return currentKernel().load(std::memory_order_relaxed);
}

bool RollShading::useKernel(Kernel kernel)
{
    if (!canRun(kernel))
        return false;
    currentKernel().store(kernel, std::memory_order_relaxed);
    return true;
}

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

void RollShading::shadeColumns(const PixelBlock &block, const quint32 *add, const quint32 *sub)
{
    if (block.width > 0 && block.height > 0)
        kernelsOf(kernel()).columns(block, add, sub);
}

void RollShading::shadeRows(const PixelBlock &block, const quint32 *add, const quint32 *sub)
{
    if (block.width > 0 && block.height > 0)
        kernelsOf(kernel()).rows(block, add, sub);
}

void RollShading::shadeRow(const quint32 *src, quint32 *dst, const quint32 *add, const quint32 *sub,
                           int count)
{
    const PixelBlock row{
        reinterpret_cast<const uchar *>(src), 0, reinterpret_cast<uchar *>(dst), 0, count, 1};
    shadeColumns(row, add, sub);
}

void RollShading::shadeRowUniform(const quint32 *src, quint32 *dst, quint32 add, quint32 sub,
                                  int count)
{
    const PixelBlock row{
        reinterpret_cast<const uchar *>(src), 0, reinterpret_cast<uchar *>(dst), 0, count, 1};
    shadeRows(row, &add, &sub);
}
