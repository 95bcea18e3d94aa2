#pragma once

// An effect's own per-pass data, created by its Initialize and released by its Finalize.
class TTEEffectData
{
public:
    TTEEffectData() = default;
    virtual ~TTEEffectData() = default;
    TTEEffectData(const TTEEffectData &) = delete;
    TTEEffectData &operator=(const TTEEffectData &) = delete;
};
