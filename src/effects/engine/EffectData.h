// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An effect's own per-pass data, created by its Initialize and released by its Finalize.
class EffectData
{
public:
    EffectData() = default;
    virtual ~EffectData() = default;
    EffectData(const EffectData &) = delete;
    EffectData &operator=(const EffectData &) = delete;
};
