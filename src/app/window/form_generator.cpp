// The sine generator's handlers: the player's fill event and the two track bars.
#include "app/window/form.h"

#include "audio/audio_in.h"
#include "audio/audio_out.h"
#include "generator/sine_fill.h"
#include "generator/track_bar_settings.h"
#include "measure/calibration/calibration.h"

namespace app::window {
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

void TForm1::noteGeneratorChange() {
    // The player's queued buffers play first, then the new sound; the block
    // being recorded now is counted when it is complete.
    generatorChangeArrives = readingHistory.recorded() + bufferSeconds(*AudioOut1, AudioOut1->QueuedCount()) +
                             bufferSeconds(*AudioIn1, 1) + kDeviceLatencySeconds;
}

bool TForm1::AudioOut1FillBuffer(char* Buffer, std::int32_t& Size) {
    return generator::FillSine(Buffer, Size, AudioOut1->FilledCount(), AudioOut1->FrameRate(),
                               state.GeneratorAmplitude, GeneratorFrequency);
}

void TForm1::TrackBar1Change(QObject*) {
    state.GeneratorAmplitude = generator::AmplitudeFromPosition(TrackBar1->position());
    // With a card's profile the text shows the calibrated voltage, as the pointer does.
    const QString text = QString::fromStdString(
        state.Calibration ? generator::CalibratedSourceVoltageText(measure::calibratedSourceMillivolts(
                                state.GeneratorAmplitude, state.Calibration->SourceGain))
                          : generator::SourceVoltageText(state.GeneratorAmplitude));
    Panel10->setCaption(text);
    Panel6->setCaption(text);
    AudioOut1->Start(AudioOut1);  // fails without effect while the player runs
    noteGeneratorChange();
}

void TForm1::TrackBar2Change(QObject*) {
    GeneratorFrequency = generator::FrequencyFromPosition(TrackBar2->position());
    if (GeneratorFrequency != TrackBar2->position()) TrackBar2->setPosition(GeneratorFrequency);
    Panel5->setCaption(QString::fromStdString(generator::FrequencyPanelCaption(GeneratorFrequency)));
    Edit3->setText(QString::fromStdString(generator::FrequencyEditText(GeneratorFrequency)));
    noteGeneratorChange();
}

}  // namespace app::window
