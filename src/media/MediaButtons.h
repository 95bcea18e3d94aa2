// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <bitset>
#include <cstddef>
#include <initializer_list>

// The bar's button kinds; their order fixes the layout and the keyboard movement.
enum class ButtonKind
{
    btPlay,
    btPause,
    btStop,
    btNext,
    btPrev,
    btStep,
    btBack,
    btRecord,
    btEject
};

inline constexpr std::size_t buttonKindCount = 9;

// A set of button kinds, indexed by kind.
class ButtonSet
{
public:
    constexpr ButtonSet() = default;
    ButtonSet(std::initializer_list<ButtonKind> kinds)
    {
        for (const ButtonKind kind : kinds)
            insert(kind);
    }
    static ButtonSet all() { return ButtonSet(std::bitset<buttonKindCount>().set()); }

    bool contains(ButtonKind kind) const { return m_bits.test(std::size_t(kind)); }
    void insert(ButtonKind kind) { m_bits.set(std::size_t(kind)); }
    void remove(ButtonKind kind) { m_bits.reset(std::size_t(kind)); }
    std::size_t count() const { return m_bits.count(); }
    bool operator==(const ButtonSet &) const = default;

private:
    explicit ButtonSet(std::bitset<buttonKindCount> bits)
        : m_bits(bits)
    {}
    std::bitset<buttonKindCount> m_bits;
};
