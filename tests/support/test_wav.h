#pragma once
// WAV files written by hand for the tests, sample by sample, in any of the
// formats the program reads: 8-, 16-, 24- or 32-bit PCM, 32- or 64-bit float.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>

namespace testsupport {

enum class WavSamples { Pcm8, Pcm16, Pcm24, Pcm32, Float32, Float64 };

// Writes `frames` frames of `channels` channels at `rate` (the header's rate,
// whatever it is); sample(frame, channel) gives each value, full scale +-1.
// `dataBytes` overrides the length the header gives (0: the true length).
inline bool writeTestWav(const QString& path, std::uint32_t rate, int channels, WavSamples kind, int frames,
                         const std::function<double(int, int)>& sample, std::uint32_t dataBytes = 0) {
    const bool isFloat = kind == WavSamples::Float32 || kind == WavSamples::Float64;
    const int bits = kind == WavSamples::Pcm8 ? 8 : kind == WavSamples::Pcm16 ? 16 : kind == WavSamples::Pcm24 ? 24
                     : kind == WavSamples::Float64 ? 64 : 32;
    QByteArray data;
    auto put = [&data](std::uint64_t v, int bytes) {
        for (int b = 0; b < bytes; ++b) data.append(static_cast<char>((v >> (8 * b)) & 0xFF));
    };
    for (int f = 0; f < frames; ++f) {
        for (int c = 0; c < channels; ++c) {
            const double v = sample(f, c);
            if (kind == WavSamples::Float32) {
                const float x = static_cast<float>(v);
                std::uint32_t u;
                std::memcpy(&u, &x, 4);
                put(u, 4);
            } else if (kind == WavSamples::Float64) {
                std::uint64_t u;
                std::memcpy(&u, &v, 8);
                put(u, 8);
            } else if (kind == WavSamples::Pcm8) {
                put(static_cast<std::uint64_t>(std::clamp(std::lround(v * 128) + 128, 0L, 255L)), 1);
            } else {
                const double scale = std::ldexp(1.0, bits - 1);
                const long long s = std::clamp(std::llround(v * scale), static_cast<long long>(-scale),
                                               static_cast<long long>(scale - 1));
                put(static_cast<std::uint64_t>(s), bits / 8);
            }
        }
    }
    const auto length = dataBytes != 0 ? dataBytes : static_cast<std::uint32_t>(data.size());
    QByteArray wav("RIFF");
    auto u32 = [&wav](std::uint32_t v) {
        char b[4];
        qToLittleEndian(v, b);
        wav.append(b, 4);
    };
    auto u16 = [&wav](std::uint16_t v) {
        char b[2];
        qToLittleEndian(v, b);
        wav.append(b, 2);
    };
    u32(36 + length);
    wav.append("WAVEfmt ");
    u32(16);
    u16(isFloat ? 3 : 1);
    u16(static_cast<std::uint16_t>(channels));
    u32(rate);
    u32(rate * static_cast<std::uint32_t>(channels * bits / 8));
    u16(static_cast<std::uint16_t>(channels * bits / 8));
    u16(static_cast<std::uint16_t>(bits));
    wav.append("data");
    u32(length);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(wav + data) == wav.size() + data.size();
}

// A sine of `hertz` at `amplitude` of full scale in the left channel, half of it in the right.
inline std::function<double(int, int)> testSine(double hertz, double rate, double amplitude = 0.5) {
    return [=](int frame, int channel) {
        const double v = amplitude * std::sin(2 * M_PI * hertz * frame / rate);
        return channel == 0 ? v : v / 2;
    };
}

}  // namespace testsupport
