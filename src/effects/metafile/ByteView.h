// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

// A read-only window on metafile bytes. Every read is bounds-checked and
// little-endian, so a malformed offset or count yields nothing instead of
// reading past the record.
class ByteView
{
public:
    constexpr ByteView() = default;
    constexpr ByteView(const unsigned char *data, std::size_t size)
        : m_data(data)
        , m_size(size)
    {}

    constexpr std::size_t size() const { return m_size; }
    constexpr const unsigned char *data() const { return m_data; }
    constexpr bool contains(std::size_t offset, std::size_t length) const
    {
        return offset <= m_size && length <= m_size - offset;
    }

    // The part [offset, offset + length), or nothing when it does not fit.
    std::optional<ByteView> sub(std::size_t offset, std::size_t length) const
    {
        if (!contains(offset, length))
            return std::nullopt;
        return ByteView(m_data + offset, length);
    }
    // Everything from offset on (empty when offset is past the end).
    ByteView from(std::size_t offset) const
    {
        if (offset >= m_size)
            return ByteView(m_data + m_size, 0);
        return ByteView(m_data + offset, m_size - offset);
    }

    std::uint8_t u8(std::size_t offset) const { return contains(offset, 1) ? m_data[offset] : 0; }
    std::uint16_t u16(std::size_t offset) const
    {
        if (!contains(offset, 2))
            return 0;
        return std::uint16_t(m_data[offset] | (m_data[offset + 1] << 8));
    }
    std::int16_t i16(std::size_t offset) const { return std::int16_t(u16(offset)); }
    std::uint32_t u32(std::size_t offset) const
    {
        if (!contains(offset, 4))
            return 0;
        return std::uint32_t(m_data[offset]) | (std::uint32_t(m_data[offset + 1]) << 8) |
               (std::uint32_t(m_data[offset + 2]) << 16) |
               (std::uint32_t(m_data[offset + 3]) << 24);
    }
    std::int32_t i32(std::size_t offset) const { return std::int32_t(u32(offset)); }
    float f32(std::size_t offset) const
    {
        const std::uint32_t bits = u32(offset);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

private:
    const unsigned char *m_data = nullptr;
    std::size_t m_size = 0;
};
