// SPDX-License-Identifier: GPL-3.0-or-later
#include "EffectRandom.h"

#include <chrono>
#include <random>

namespace {

std::mt19937 &generator()
{
    static std::mt19937 engine(
        std::uint32_t(std::chrono::steady_clock::now().time_since_epoch().count()));
    return engine;
}

// Seeds at start-up rather than at the first run.
[[maybe_unused]] const bool seeded = (generator(), true);

} // namespace

int EffectRandom::next(int bound)
{
    std::uniform_int_distribution<int> pick(0, bound - 1);
    return pick(generator());
}
