// SPDX-License-Identifier: GPL-3.0-or-later
#include "DibDecoder.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <array>

namespace {

constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t InfoHeaderSize = 40;

constexpr std::uint32_t BiRgb = 0;
constexpr std::uint32_t BiRle8 = 1;
constexpr std::uint32_t BiRle4 = 2;
constexpr std::uint32_t BiBitfields = 3;
constexpr std::uint32_t BiJpeg = 4;
constexpr std::uint32_t BiPng = 5;

struct Header
{
    std::uint32_t headerSize = 0;
    qint64 width = 0;
    qint64 height = 0; // negative: rows run top-down
    int bitCount = 0;
    std::uint32_t compression = BiRgb;
    std::uint32_t colorsUsed = 0;
    std::array<std::uint32_t, 4> masks{}; // red, green, blue, alpha
    bool hasMasks = false;
    std::size_t tableOffset = 0;
    std::size_t tableEntrySize = 4;
    std::size_t tableEntries = 0;
};

std::optional<Header> readHeader(ByteView info)
{
    Header h;
    h.headerSize = info.u32(0);
    if (h.headerSize == CoreHeaderSize) {
        if (!info.contains(0, CoreHeaderSize))
            return std::nullopt;
        h.width = info.u16(4);
        h.height = info.u16(6);
        h.bitCount = info.u16(10);
        h.tableEntrySize = 3;
    } else if (h.headerSize >= InfoHeaderSize && info.contains(0, h.headerSize)) {
        h.width = info.i32(4);
        h.height = info.i32(8);
        h.bitCount = info.u16(14);
        h.compression = info.u32(16);
        h.colorsUsed = info.u32(32);
        if (h.compression == BiBitfields) {
            // Masks follow a plain info header; later headers hold them inside.
            const std::size_t at = h.headerSize >= 52 ? 40 : h.headerSize;
            const std::size_t count = h.headerSize >= 56 ? 4 : 3;
            if (!info.contains(at, count * 4))
                return std::nullopt;
            for (std::size_t i = 0; i < count; ++i)
                h.masks[i] = info.u32(at + 4 * i);
            h.hasMasks = true;
        }
    } else {
        return std::nullopt;
    }
    h.tableOffset = h.headerSize;
    if (h.compression == BiBitfields && h.headerSize == InfoHeaderSize)
        h.tableOffset += 12;
    if (h.bitCount <= 8) {
        const std::size_t maxEntries = std::size_t(1) << h.bitCount;
        h.tableEntries =
            (h.colorsUsed == 0 || h.colorsUsed > maxEntries) ? maxEntries : h.colorsUsed;
    } else if (h.colorsUsed <= 65536) {
        h.tableEntries = h.colorsUsed;
    }
    return h;
}

std::size_t tableBytes(const Header &h)
{
    return h.tableOffset + h.tableEntries * h.tableEntrySize;
}

QImage decodeCompressed(ByteView bits, const Header &h, const DibDecoder::Options &options)
{
    QByteArray data(reinterpret_cast<const char *>(bits.data()), qsizetype(bits.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, h.compression == BiPng ? "png" : "jpeg");
    // Only the reader of this format, not every image plugin asked in turn.
    reader.setAutoDetectImageFormat(false);
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > options.maxPixels)
        return {};
    QImage image = reader.read();
    if (image.isNull())
        return {};
    return image.convertToFormat(QImage::Format_ARGB32);
}

int maskShift(std::uint32_t mask)
{
    int shift = 0;
    while (mask != 0 && (mask & 1u) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

int maskBits(std::uint32_t mask)
{
    mask >>= maskShift(mask);
    int count = 0;
    while (mask & 1u) {
        mask >>= 1;
        ++count;
    }
    return count;
}

// A masked colour field, scaled to 0..255.
struct Field
{
    explicit Field(std::uint32_t m)
        : mask(m)
        , shift(maskShift(m))
    {
        const int bits = maskBits(m);
        top = bits >= 32 ? 0xFFFFFFFFu : ((1u << bits) - 1);
    }
    int operator()(std::uint32_t pixel) const
    {
        if (top == 0)
            return 0;
        const std::uint32_t value = (pixel & mask) >> shift;
        return int((std::uint64_t(value) * 255 + top / 2) / top);
    }
    std::uint32_t mask;
    int shift;
    std::uint32_t top = 0;
};

// Run-length encoded bits: each run writes inside the image only, and a
// delta or end-of-line never moves outside it.
void decodeRle(ByteView bits, const Header &h, const std::vector<QRgb> &table, QImage &image,
               bool bottomUp)
{
    const bool four = h.compression == BiRle4;
    const int width = image.width();
    const int height = image.height();
    int x = 0;
    int y = 0;
    auto put = [&](int index) {
        if (x < width && y < height) {
            const int row = bottomUp ? height - 1 - y : y;
            const QRgb colour =
                std::size_t(index) < table.size() ? table[std::size_t(index)] : qRgb(0, 0, 0);
            image.setPixel(x, row, colour);
        }
        ++x;
    };
    std::size_t at = 0;
    while (at + 1 < bits.size() && y < height) {
        const int count = bits.u8(at);
        const int value = bits.u8(at + 1);
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count && x < width; ++i)
                put(four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta
            if (at + 1 >= bits.size())
                break;
            x += bits.u8(at);
            y += bits.u8(at + 1);
            at += 2;
        } else { // absolute run of `value` pixels
            const std::size_t bytes = four ? (std::size_t(value) + 1) / 2 : std::size_t(value);
            if (!bits.contains(at, bytes))
                break;
            for (int i = 0; i < value; ++i) {
                const int byte = bits.u8(at + std::size_t(four ? i / 2 : i));
                if (x >= width)
                    break;
                put(four ? ((i & 1) ? (byte & 0x0F) : (byte >> 4)) : byte);
            }
            at += (bytes + 1) & ~std::size_t(1); // runs are padded to a word
        }
    }
}

} // namespace

namespace DibDecoder {

QImage decode(ByteView info, ByteView bits, const Options &options)
{
    const std::optional<Header> header = readHeader(info);
    if (!header)
        return {};
    const Header &h = *header;
    if (h.compression == BiJpeg || h.compression == BiPng)
        return decodeCompressed(bits, h, options);

    const qint64 width = h.width;
    const qint64 height = h.height < 0 ? -h.height : h.height;
    if (width <= 0 || height <= 0 || width * height > options.maxPixels)
        return {};
    switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return {};
    }
    if (h.compression == BiRle8 && h.bitCount != 8)
        return {};
    if (h.compression == BiRle4 && h.bitCount != 4)
        return {};
    if (h.compression == BiBitfields && h.bitCount != 16 && h.bitCount != 32)
        return {};
    if (h.compression > BiBitfields)
        return {};

    std::vector<QRgb> table;
    if (h.bitCount <= 8) {
        if (!info.contains(h.tableOffset, h.tableEntries * h.tableEntrySize))
            return {};
        table.reserve(h.tableEntries);
        for (std::size_t i = 0; i < h.tableEntries; ++i) {
            const std::size_t at = h.tableOffset + i * h.tableEntrySize;
            table.push_back(qRgb(info.u8(at + 2), info.u8(at + 1), info.u8(at)));
        }
    }

    // Uncompressed bits must all be there: the record's size bounds the image.
    const qint64 stride = ((width * h.bitCount + 31) / 32) * 4;
    const bool compressed = h.compression == BiRle8 || h.compression == BiRle4;
    if (!compressed && !bits.contains(0, std::size_t(stride * height)))
        return {};

    const bool bottomUp = h.height > 0;
    QImage image(int(width), int(height), QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    image.fill(qRgb(0, 0, 0));

    if (h.compression == BiRle8 || h.compression == BiRle4) {
        decodeRle(bits, h, table, image, bottomUp);
        return image;
    }

    std::array<std::uint32_t, 4> masks = h.masks;
    if (!h.hasMasks) {
        if (h.bitCount == 16)
            masks = {0x7C00, 0x03E0, 0x001F, 0};
        else
            masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    }
    if (h.bitCount == 32 && options.keepAlpha && !h.hasMasks)
        masks[3] = 0xFF000000;
    const bool alpha = options.keepAlpha && masks[3] != 0;
    if (alpha)
        image.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
    const Field red(masks[0]);
    const Field green(masks[1]);
    const Field blue(masks[2]);
    const Field opacity(masks[3]);

    for (qint64 y = 0; y < height; ++y) {
        const std::size_t rowStart = std::size_t(y * stride);
        const std::optional<ByteView> row = bits.sub(rowStart, std::size_t(stride));
        if (!row)
            break;
        QRgb *out = reinterpret_cast<QRgb *>(image.scanLine(int(bottomUp ? height - 1 - y : y)));
        for (qint64 x = 0; x < width; ++x) {
            const std::size_t xs = std::size_t(x);
            switch (h.bitCount) {
            case 1:
            case 4:
            case 8: {
                const std::size_t bit = xs * std::size_t(h.bitCount);
                const int byte = row->u8(bit / 8);
                const int shift = 8 - h.bitCount - int(bit % 8);
                const std::size_t index = std::size_t((byte >> shift) & ((1 << h.bitCount) - 1));
                out[x] = index < table.size() ? table[index] : qRgb(0, 0, 0);
                break;
            }
            case 16:
            case 32: {
                const std::uint32_t pixel = h.bitCount == 16 ? row->u16(xs * 2) : row->u32(xs * 4);
                if (alpha) {
                    // Blended bitmaps hold premultiplied colour.
                    const int a = opacity(pixel);
                    out[x] = qRgba(std::min(red(pixel), a), std::min(green(pixel), a),
                                   std::min(blue(pixel), a), a);
                } else {
                    out[x] = qRgb(red(pixel), green(pixel), blue(pixel));
                }
                break;
            }
            case 24:
                out[x] = qRgb(row->u8(xs * 3 + 2), row->u8(xs * 3 + 1), row->u8(xs * 3));
                break;
            }
        }
    }
    return image;
}

QImage decodePacked(ByteView packed, const Options &options)
{
    const std::optional<Header> header = readHeader(packed);
    if (!header)
        return {};
    const std::size_t start = tableBytes(*header);
    if (start > packed.size())
        return {};
    return decode(packed, packed.from(start), options);
}

QImage decodeBitmap16(ByteView header, ByteView bits, const Options &options)
{
    if (header.size() < 10)
        return {};
    const qint64 width = header.i16(2);
    const qint64 height = header.i16(4);
    const qint64 stride = header.i16(6);
    const int planes = header.u8(8);
    const int bitCount = header.u8(9);
    if (width <= 0 || height <= 0 || width * height > options.maxPixels || planes != 1)
        return {};
    if (bitCount != 1 && bitCount != 24 && bitCount != 32)
        return {};
    if (stride < (width * bitCount + 7) / 8 || !bits.contains(0, std::size_t(stride * height)))
        return {};
    QImage image(int(width), int(height), QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    for (qint64 y = 0; y < height; ++y) {
        const ByteView row = bits.from(std::size_t(y * stride));
        QRgb *out = reinterpret_cast<QRgb *>(image.scanLine(int(y)));
        for (qint64 x = 0; x < width; ++x) {
            const std::size_t xs = std::size_t(x);
            if (bitCount == 1) {
                const bool set = (row.u8(xs / 8) >> (7 - xs % 8)) & 1;
                out[x] = set ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            } else {
                const std::size_t at = xs * std::size_t(bitCount / 8);
                out[x] = qRgb(row.u8(at + 2), row.u8(at + 1), row.u8(at));
            }
        }
    }
    return image;
}

} // namespace DibDecoder
