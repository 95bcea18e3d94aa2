// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChimeTones.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

struct Strike
{
    double at;        // seconds from the start
    double frequency; // of the fundamental, Hz
};

// G5, E5, C5 down, then the same again after a pause.
constexpr std::array strikes{
    Strike{0.0, 783.99}, Strike{0.45, 659.25}, Strike{0.9, 523.25},
    Strike{2.6, 783.99}, Strike{3.05, 659.25}, Strike{3.5, 523.25},
};
constexpr double length = 5.6;

struct Partial
{
    double ratio;     // to the fundamental
    double amplitude; // relative
    double decay;     // time constant, seconds
};

// A bell's slightly inharmonic upper partials die away faster than its fundamental.
constexpr std::array partials{
    Partial{1.0, 1.0, 0.9},
    Partial{2.0, 0.35, 0.5},
    Partial{2.76, 0.12, 0.3},
    Partial{5.4, 0.05, 0.15},
};
constexpr double attack = 0.004;

} // namespace

std::vector<std::int16_t> ChimeTones::samples()
{
    const auto count = std::size_t(length * sampleRate);
    std::vector<double> mix(count, 0.0);
    for (const Strike &strike : strikes) {
        const auto first = std::size_t(strike.at * sampleRate);
        for (std::size_t i = first; i < count; ++i) {
            const double t = double(i - first) / sampleRate;
            const double rise = std::min(1.0, t / attack);
            double value = 0.0;
            for (const Partial &partial : partials) {
                value += partial.amplitude * std::exp(-t / partial.decay) *
                         std::sin(2.0 * std::numbers::pi * strike.frequency * partial.ratio * t);
            }
            mix[i] += rise * value;
        }
    }
    // The last strikes fade out before the end rather than being cut.
    const auto fade = std::size_t(0.3 * sampleRate);
    for (std::size_t i = 0; i < fade; ++i)
        mix[count - 1 - i] *= double(i) / double(fade);

    double loudest = 0.0;
    for (double value : mix)
        loudest = std::max(loudest, std::abs(value));
    std::vector<std::int16_t> result(count);
    const double scale = loudest > 0.0 ? peak * 32767.0 / loudest : 0.0;
    std::transform(mix.cbegin(), mix.cend(), result.begin(),
                   [scale](double value) { return std::int16_t(std::lround(value * scale)); });
    return result;
}

QByteArray ChimeTones::waveFile(const std::vector<std::int16_t> &samples)
{
    constexpr quint16 channels = 1;
    constexpr quint16 bitsPerSample = 16;
    constexpr quint16 blockAlign = channels * bitsPerSample / 8;
    const auto dataBytes = quint32(samples.size() * blockAlign);

    QByteArray file;
    file.reserve(int(44 + dataBytes));
    const auto put32 = [&file](quint32 value) {
        const quint32 little = qToLittleEndian(value);
        file.append(reinterpret_cast<const char *>(&little), 4);
    };
    const auto put16 = [&file](quint16 value) {
        const quint16 little = qToLittleEndian(value);
        file.append(reinterpret_cast<const char *>(&little), 2);
    };
    file.append("RIFF");
    put32(36 + dataBytes);
    file.append("WAVEfmt ");
    put32(16);
    put16(1); // integer PCM
    put16(channels);
    put32(sampleRate);
    put32(sampleRate * blockAlign);
    put16(blockAlign);
    put16(bitsPerSample);
    file.append("data");
    put32(dataBytes);
    for (std::int16_t sample : samples)
        put16(quint16(sample));
    return file;
}
