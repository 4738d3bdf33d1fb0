// The sine generator of the session: the player's fill event and the
// arithmetic of the two track bars' change handlers.
#include "app/session/session.h"

#include "audio/audio_in.h"
#include "audio/audio_out.h"
#include "generator/sine_fill.h"
#include "generator/track_bar_settings.h"
#include "measure/calibration/calibration.h"

#include <algorithm>

namespace app::session {
namespace {

// Besides what the player has queued, the sound may wait this long in the card
// and the sound server before the line input records it.
constexpr double kDeviceLatencySeconds = 0.05;

// Seconds of sound in `buffers` of a component's buffers.
double bufferSeconds(const audio::TAudioIO& component, std::int32_t buffers) {
    const std::int32_t frameBytes = component.Quantization() / 8 * (component.Stereo() ? 2 : 1);
    if (frameBytes <= 0 || component.FrameRate() <= 0) return 0;
    return static_cast<double>(buffers) * (component.BufferSize() / frameBytes) / component.FrameRate();
}

}  // namespace

void Session::noteGeneratorChange() {
    // The player's queued buffers play first, then the new sound; the block
    // being recorded now is counted when it is complete.
    generatorChangeArrives = readingHistory.recorded() + bufferSeconds(*AudioOut1, AudioOut1->QueuedCount()) +
                             bufferSeconds(*AudioIn1, 1) + kDeviceLatencySeconds;
}

bool Session::AudioOut1FillBuffer(char* Buffer, std::int32_t& Size) {
    return generator::FillSine(Buffer, Size, AudioOut1->FilledCount(), AudioOut1->FrameRate(),
                               state.GeneratorAmplitude, GeneratorFrequency);
}

void Session::setBarRange(Bar bar, int minimum, int maximum) {
    BarState& b = bars_[index(bar)];
    b.minimum = minimum;
    b.maximum = maximum;
}

void Session::barChanged(Bar bar, int position) {
    bars_[index(bar)].position = position;
    if (bar == Bar::Amplitude) {
        state.GeneratorAmplitude = generator::AmplitudeFromPosition(position);
        AudioOut1->Start(AudioOut1);  // fails without effect while the player runs
    } else {
        GeneratorFrequency = generator::FrequencyFromPosition(position);
        // Below the lowest frequency the bar is moved to it.
        bars_[index(bar)].position = GeneratorFrequency;
    }
    noteGeneratorChange();
    emit generatorChanged(bar);
}

void Session::moveBar(Bar bar, int position) {
    const BarState& b = bars_[index(bar)];
    position = std::clamp(position, b.minimum, b.maximum);
    if (position == b.position) return;  // a move to where it is changes nothing
    barChanged(bar, position);
}

QString Session::sourceVoltageText() const {
    // With a card's profile the text shows the calibrated voltage, as the pointer does.
    return QString::fromStdString(
        state.Calibration ? generator::CalibratedSourceVoltageText(measure::calibratedSourceMillivolts(
                                state.GeneratorAmplitude, state.Calibration->SourceGain))
                          : generator::SourceVoltageText(state.GeneratorAmplitude));
}

QString Session::frequencyCaption() const {
    return QString::fromStdString(generator::FrequencyPanelCaption(GeneratorFrequency));
}

QString Session::frequencyEditText() const {
    return QString::fromStdString(generator::FrequencyEditText(GeneratorFrequency));
}

}  // namespace app::session
