#include "bench/bench_line_input.h"

#include "bench/bench_circuit.h"

#include <algorithm>
#include <cmath>

namespace bench {

using namespace platform;
using namespace platform::wave;
using namespace platform::wave::clocked;

namespace {

double gainOf(const std::function<double()>& provider) {
    if (!provider) return 1.0;
    const double g = provider();
    return std::isfinite(g) ? std::clamp(g, 0.0, 1.0) : 1.0;
}

// Rounded to the nearest integer (an exact half to even) and clipped at full scale.
long fullScale(double v) { return std::lrint(std::clamp(v, -32767.0, 32767.0)); }

void store(const WAVEFORMATEX& format, char* frame, int channel, long value) {
    if (format.wBitsPerSample == 8) {
        // 8-bit: the top byte of the 16-bit value, offset to unsigned.
        const long u = std::clamp(std::lrint(static_cast<double>(value) / 256.0) + 128, 0L, 255L);
        frame[channel] = static_cast<char>(static_cast<unsigned char>(u));
        return;
    }
    const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
    frame[2 * channel] = static_cast<char>(v & 0xFF);
    frame[2 * channel + 1] = static_cast<char>(v >> 8);
}

}  // namespace

BenchLineInput::BenchLineInput(const BenchConfig& config, BenchTimeline& timeline)
    : config_(config), timeline_(timeline), noise_(config.seed) {}

void BenchLineInput::started(const WAVEFORMATEX& format, Nanoseconds origin) {
    timeline_.inputStarted(origin);
    // The circuit is followed at the line input's rate, from rest.
    rate_ = format.nSamplesPerSec;
    loadChanged();
}

void BenchLineInput::loadChanged() {
    circuit_.reset();
    if (config_.circuit && rate_ > 0) circuit_.emplace(*config_.circuit, rate_);
}

void BenchLineInput::stopped() { timeline_.inputStopped(); }

void BenchLineInput::fill(const WAVEFORMATEX& format, Nanoseconds origin, std::int64_t firstFrame, char* data,
                          std::size_t frames) {
    source_.resize(frames);
    timeline_.sample(origin, format.nSamplesPerSec, firstFrame, frames, source_.data());

    const double outputGain = gainOf(config_.outputGain);
    const double recordingGain = gainOf(config_.recordingGain);
    const double left = benchLeftSamplesPerMillivolt() * recordingGain * config_.lineInputGain;
    const double right = benchRightSamplesPerMillivolt() * recordingGain * config_.lineInputGain;
    const int channels = format.nChannels;
    truth_.beginBlock(format.nSamplesPerSec);
    for (std::size_t i = 0; i < frames; ++i) {
        const double sourceMillivolts = benchSourceMillivolts(source_[i], outputGain) * config_.lineOutputGain;
        const BenchProbe p = circuit_ ? circuit_->step(sourceMillivolts) : benchProbe(sourceMillivolts, config_.loadOhms);
        truth_.add(sourceMillivolts, p.loadMillivolts, p.currentMilliamps);
        double values[2] = {p.shuntMillivolts * left, p.dividerMillivolts * right};
        if (config_.noise > 0)
            for (double& v : values) v += config_.noise * noise_.next();
        char* frame = data + i * format.nBlockAlign;
        for (int c = 0; c < channels; ++c) store(format, frame, c, c < 2 ? fullScale(values[c]) : 0);
    }
    truth_.endBlock();
    timeline_.inputConsumed(origin +
                            framesToNanoseconds(firstFrame + static_cast<std::int64_t>(frames), format.nSamplesPerSec));
}

}  // namespace bench
