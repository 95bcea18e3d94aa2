// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

// The default alarm sound of the installed program: a soft three-note bell phrase, rung
// twice, made from decaying partials so that no recording is needed.
class ChimeTones
{
public:
    static constexpr int sampleRate = 44100;
    // Peak level, with headroom for the encoder.
    static constexpr double peak = 0.7;

    // Mono 16-bit samples.
    static std::vector<std::int16_t> samples();
    // A RIFF WAVE file holding the samples.
    static QByteArray waveFile(const std::vector<std::int16_t> &samples);
};
