// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The generator behind random effect directions, seeded from the clock once per program.
namespace EffectRandom {

// Uniform integer in 0 .. bound - 1.
int next(int bound);

} // namespace EffectRandom
