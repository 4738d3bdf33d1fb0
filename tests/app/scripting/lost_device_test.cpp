// A headless run whose sound stops part way, on the simulated card with the
// program in the test's process: from the moment the driver refuses every
// buffer, the lab's waits end within the silence bound, the sweep stops with
// the reason, the run ends with code 1 and still writes its state.
#include "app/lab/lab.h"
#include "app/lab/lab_session.h"
#include "app/options.h"
#include "app/scripting/device_watch.h"
#include "app/scripting/headless_runner.h"
#include "platform/mixer/sim/classic_card.h"
#include "platform/wave/device_status.h"
#include "support/program_run.h"
#include "support/rig.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace {

using platform::wave::sim::SimCall;

// Both channels: a 50 Hz sine of a quarter of full scale, 16-bit.
void sine(const platform::wave::WAVEFORMATEX& format, std::int64_t first, char* data, std::size_t frames) {
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(first + static_cast<std::int64_t>(i)) / format.nSamplesPerSec;
        const auto v = static_cast<std::int16_t>(std::lround(8000.0 * std::sin(2 * M_PI * 50.0 * t)));
        for (int c = 0; c < format.nChannels; ++c) std::memcpy(data + (i * format.nChannels + c) * 2, &v, 2);
    }
}

TEST(LostDevice, TheLabsWaitsEndWithinTheBoundAfterTheSoundStopsAndTheRunWritesItsState) {
    platform::wave::clearDeviceStatus();
    testsupport::Rig rig;
    auto& sim = rig.useSim();
    rig.useMixers({platform::mixer::sim::classicCardTopology()});
    sim.setSignalSource(sine);
    auto& form = rig.createWindow();
    app::Options options;
    options.headless = true;
    auto& lab = app::lab::setupLab(rig.session(), form, options);
    app::scripting::HeadlessRunner runner(form, rig.idle, &rig.clock, nullptr);
    runner.setLab(&lab);
    rig.runFor(1.0);
    ASSERT_GT(rig.session().readingHistory.recorded(), 0.5) << "the card records before it fails";

    // From now on every buffer is refused: nothing more is recorded.
    sim.injectFault(SimCall::Submit, platform::win::MMSYSERR_NODRIVER, 0, -1);
    QTemporaryDir dir;
    options.stateFile = dir.filePath("state.json");
    options.actions = {"lab:sweep=100..1000/40/lin", "lab:point", "lab:export=" + dir.filePath("sweep.csv")};
    const platform::Nanoseconds before = rig.clock.now();
    EXPECT_EQ(runner.run(options), 1);
    const double waited = static_cast<double>(rig.clock.now() - before) * 1e-9;
    // The sweep's wait ends after the bound; the point is not asked for.
    EXPECT_LT(waited, app::scripting::DeviceWatch::kSilenceBound + 1.0);
    EXPECT_GE(waited, app::scripting::DeviceWatch::kSilenceBound - 0.1);
    const auto& sweep = lab.session().sweep();
    EXPECT_FALSE(sweep.running);
    EXPECT_TRUE(sweep.cancelled);
    EXPECT_LT(sweep.step, sweep.steps);
    EXPECT_FALSE(lab.session().pointPending());
    const QJsonObject state = QJsonDocument::fromJson(testsupport::readFile(options.stateFile)).object();
    EXPECT_TRUE(state.contains("lab")) << "the state is written after the failure";
    EXPECT_FALSE(testsupport::readFile(dir.filePath("sweep.csv")).isEmpty()) << "so is the table";
    sim.clearFaults();
}

}  // namespace
