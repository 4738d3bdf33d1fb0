// The lab after an hour of recording at every block (63 000 points): adding
// one more point and drawing the window again (graph and table, on the
// offscreen platform), the memory the hour's points take, and writing the
// hour's CSV through a whole-file save.
#include "app/lab/graph_view.h"
#include "app/lab/lab.h"
#include "app/lab/lab_session.h"
#include "app/lab/lab_window.h"
#include "lab/csv_writer.h"
#include "platform/files/whole_file.h"
#include "render/fonts.h"
#include "support/rig.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

constexpr int kHourOfBlocks = 63504;  // 3600 s at 2500 frames of 44.1 kHz
constexpr double kBlockSeconds = 2500.0 / 44100;

lab::LabPoint pointAt(int i) {
    lab::LabPoint p;
    const double t = i * kBlockSeconds;
    const double drift = 1 + 0.02 * std::sin(t / 300);  // a slowly warming resistor
    p[lab::Quantity::Time] = t;
    p[lab::Quantity::Frequency] = 50.0 + 0.001 * std::sin(t);
    p[lab::Quantity::Current] = 22.0 / drift;
    p[lab::Quantity::Voltage] = 2200.0;
    p[lab::Quantity::Impedance] = 100.0 * drift;
    p[lab::Quantity::Phase] = 0.01;
    p[lab::Quantity::Power] = 48.4 / drift;
    p[lab::Quantity::PowerFactor] = 1.0;
    return p;
}

long residentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// A main window on the bench, its lab window shown (offscreen).
struct LabFixture {
    LabFixture() {
        rig.useBench();
        lab = new app::lab::Lab(rig.session(), rig.createWindow());
        lab->open();
        QCoreApplication::processEvents();
    }
    void fill(int points) {
        for (int i = 0; i < points; ++i) lab->session().add(pointAt(i));
        QCoreApplication::processEvents();
    }
    testsupport::Rig rig;
    app::lab::Lab* lab = nullptr;
};

// One point more and the window drawn again, as the program does it: the
// graph (I against t, a line; or U against I, dots, with its fitted line)
// and, unless left out, the table following the newest row.
void BM_AddPointAndRedrawAfterAnHour(benchmark::State& state) {
    LabFixture f;
    lab::GraphChoice choice;
    if (state.range(0) == 1) {
        choice.y = lab::Quantity::Voltage;
        choice.x = lab::Quantity::Current;
        choice.fit = true;
    }
    f.lab->session().setGraph(choice);
    const int points = static_cast<int>(state.range(2));
    f.fill(points);
    int i = points;
    if (state.range(1) == 1) f.lab->window().findChild<QWidget*>(QStringLiteral("pointTable"))->hide();
    // The two halves apart: the point taken in (the table's rows, the axes,
    // the fit) and the window drawn.
    double addNs = 0, drawNs = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        f.lab->session().add(pointAt(i++));
        addNs += static_cast<double>(clock.nsecsElapsed());
        clock.restart();
        QCoreApplication::processEvents();  // what the graph and the table have to draw
        drawNs += static_cast<double>(clock.nsecsElapsed());
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["add_ms"] = addNs / 1e6 / n;
    state.counters["draw_ms"] = drawNs / 1e6 / n;
    state.counters["points"] = static_cast<double>(f.lab->session().record().size());
}
// Arguments: the graph (0: I against t, 1: U against I with its fit), 1 to
// leave the table out, the points there are already.
BENCHMARK(BM_AddPointAndRedrawAfterAnHour)->ArgsProduct({{0, 1}, {0, 1}, {100, kHourOfBlocks}})->Unit(benchmark::kMillisecond)->Iterations(200);

// Resident memory the hour's points add to an open lab window.
void BM_MemoryOfAnHour(benchmark::State& state) {
    for (auto _ : state) {
        LabFixture f;
        const long before = residentKilobytes();
        f.fill(kHourOfBlocks);
        f.lab->window().graph().replot(QCustomPlot::rpImmediateRefresh);
        QCoreApplication::processEvents();
        state.counters["growth_MB"] = static_cast<double>(residentKilobytes() - before) / 1024.0;
    }
}
BENCHMARK(BM_MemoryOfAnHour)->Unit(benchmark::kMillisecond)->Iterations(1);

// The hour's CSV, composed and saved whole.
void BM_CsvOfAnHour(benchmark::State& state) {
    lab::PointRecord record;
    for (int i = 0; i < kHourOfBlocks; ++i) record.add(pointAt(i));
    const QString path = QDir::temp().filePath(QStringLiteral("pristroje-lab-bench.csv"));
    for (auto _ : state) {
        const auto written = platform::files::writeWholeFile(path, lab::csvOf(record, lab::kSemicolonDecimalComma));
        if (!written.ok()) state.SkipWithError(written.english().toUtf8().constData());
    }
    state.counters["MB"] = static_cast<double>(QFile(path).size()) / 1e6;
    QFile::remove(path);
}
BENCHMARK(BM_CsvOfAnHour)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    render::registerFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
