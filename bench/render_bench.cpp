// Drawing speed of the instrument images: one scale face (band, ticks and
// numerals) and one pointer move (erase, centre repaint, new pointer).
#include "render/background.h"
#include "render/canvas.h"
#include "render/face.h"
#include "render/fonts.h"
#include "render/pointer.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

void BM_DrawFace(benchmark::State& state) {
    const auto face = static_cast<render::FaceId>(state.range(0));
    const measure::Instrument instrument = render::faceInstrument(face);
    render::Canvas image(800, 165);
    render::drawInstrumentBackground(image, instrument);
    for (auto _ : state) {
        render::drawFace(image, face);
        benchmark::DoNotOptimize(image.image().constBits());
    }
}
BENCHMARK(BM_DrawFace)
    ->Arg(static_cast<int>(render::FaceId::Ammeter300mA))
    ->Arg(static_cast<int>(render::FaceId::Ammeter10mA))
    ->Arg(static_cast<int>(render::FaceId::Ammeter10A))
    ->Arg(static_cast<int>(render::FaceId::Voltmeter30V))
    ->Unit(benchmark::kMicrosecond);

void BM_DrawBackground(benchmark::State& state) {
    render::Canvas image(800, 165);
    for (auto _ : state) {
        render::drawInstrumentBackground(image, measure::Instrument::Ammeter);
        benchmark::DoNotOptimize(image.image().constBits());
    }
}
BENCHMARK(BM_DrawBackground)->Unit(benchmark::kMicrosecond);

// Every iteration moves the pointer (between two positions in either half).
void BM_MovePointer(benchmark::State& state) {
    const std::int32_t a = static_cast<std::int32_t>(state.range(0));
    const std::int32_t b = static_cast<std::int32_t>(state.range(1));
    render::Canvas image(800, 165);
    render::drawInstrumentBackground(image, measure::Instrument::Voltmeter);
    render::drawFace(image, render::FaceId::Voltmeter3V);
    std::int32_t drawn = 0;
    bool toA = true;
    for (auto _ : state) {
        render::drawPointer(image, measure::Instrument::Voltmeter, toA ? a : b, drawn);
        toA = !toA;
        benchmark::DoNotOptimize(image.image().constBits());
    }
}
BENCHMARK(BM_MovePointer)->Args({120, 121})->Args({600, 640})->Unit(benchmark::kMicrosecond);

// The same on a projector: the image also rendered at the screen's resolution
// (1920 x 1080 full screen: 2.38 across, 1.78 down), with the record kept for
// a change of scale.
void BM_DrawFaceOnProjector(benchmark::State& state) {
    render::Canvas image(800, 165);
    image.setRecording(true);
    image.setDisplayScale(2.38, 1.78);
    image.beginLayer(render::Canvas::Layer::Background);
    render::drawInstrumentBackground(image, measure::Instrument::Ammeter);
    for (auto _ : state) {
        image.beginLayer(render::Canvas::Layer::Face);
        render::drawFace(image, render::FaceId::Ammeter300mA);
        benchmark::DoNotOptimize(image.displayImage().constBits());
    }
}
BENCHMARK(BM_DrawFaceOnProjector)->Unit(benchmark::kMicrosecond);

void BM_MovePointerOnProjector(benchmark::State& state) {
    render::Canvas image(800, 165);
    image.setRecording(true);
    image.setDisplayScale(2.38, 1.78);
    image.beginLayer(render::Canvas::Layer::Background);
    render::drawInstrumentBackground(image, measure::Instrument::Voltmeter);
    image.beginLayer(render::Canvas::Layer::Face);
    render::drawFace(image, render::FaceId::Voltmeter3V);
    std::int32_t drawn = 0;
    bool toA = true;
    for (auto _ : state) {
        image.beginLayer(render::Canvas::Layer::Pointer);
        render::drawPointer(image, measure::Instrument::Voltmeter, toA ? 600 : 640, drawn);
        toA = !toA;
        benchmark::DoNotOptimize(image.displayImage().constBits());
    }
}
BENCHMARK(BM_MovePointerOnProjector)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    render::registerFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
