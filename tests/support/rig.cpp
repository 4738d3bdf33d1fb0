#include "support/rig.h"

#include "bench/bench_card.h"
#include "platform/mixer/driver_registry.h"
#include "platform/mixer/sim/sim_mixer_driver.h"
#include "platform/wave/driver_registry.h"

#include <QCoreApplication>
#include <cmath>

namespace testsupport {

Rig::~Rig() {
    window_.reset();
    session_.reset();
}

platform::wave::sim::SimDriver& Rig::useSim() {
    auto sim = std::make_shared<platform::wave::sim::SimDriver>(clock);
    platform::wave::setDriver(sim);
    return *sim;
}

bench::BenchDriver& Rig::useBench(bench::BenchConfig config) {
    bench::BenchCard card = bench::makeBenchCard();
    config.outputGain = card.outputGain;
    config.recordingGain = card.recordingGain;
    auto driver = std::make_shared<bench::BenchDriver>(std::move(config), clock);
    platform::wave::setDriver(driver);
    platform::mixer::setDriver(card.mixer);
    return *driver;
}

void Rig::useMixers(std::vector<platform::mixer::MixerTopology> cards) {
    platform::mixer::setDriver(std::make_shared<platform::mixer::sim::SimMixerDriver>(std::move(cards)));
}

app::session::Session& Rig::session() {
    if (!session_) session_.emplace();
    return *session_;
}

app::window::TForm1& Rig::createWindow() {
    window_ = app::window::createMainWindow(session(), idle);
    return *window_;
}

void Rig::pump() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents();
    idle.runOnce();
}

void Rig::runFor(double seconds) {
    pump();
    clock.passTime(static_cast<platform::Nanoseconds>(std::llround(seconds * 1e9)), [this] { pump(); });
}

void Rig::deliverFor(platform::Nanoseconds duration) {
    clock.passTime(duration, [] { QCoreApplication::sendPostedEvents(); });
    idle.runOnce();
}

}  // namespace testsupport
