#pragma once
// The test rig: the program in the test's process on a virtual clock. It
// installs the test's drivers (the simulated card or the bench, and a mixer)
// and removes them afterwards, holds the session and its main window, and
// lets time pass as a headless run does.
#include "app/session/session.h"
#include "app/window/form.h"
#include "bench/bench_driver.h"
#include "platform/idle.h"
#include "platform/mixer/topology.h"
#include "platform/virtual_clock.h"
#include "platform/wave/sim/sim_driver.h"
#include "support/installed_drivers.h"

#include <QObject>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace testsupport {

class Rig {
public:
    Rig() = default;
    // The window first, then the session, then the drivers.
    ~Rig();
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    // --- drivers
    // The simulated card (its signal and faults are the driver's to set).
    platform::wave::sim::SimDriver& useSim();
    // The virtual bench as the bench's own card (its mixer, its gains), with
    // `config`'s circuit, noise and card gains.
    bench::BenchDriver& useBench(bench::BenchConfig config = {});
    // Simulated mixers (none: the system has no mixer).
    void useMixers(std::vector<platform::mixer::MixerTopology> cards);

    // --- the program
    app::session::Session& session();
    // The main window over the session, after its creation handler.
    app::window::TForm1& createWindow();
    app::window::TForm1& window() { return *window_; }
    void destroyWindow() { window_.reset(); }

    // --- time
    // Handles every queued event, then runs one idle pass.
    void pump();
    // Lets `seconds` of virtual time pass, handling every event on the way
    // and running an idle pass after each, as a headless run does.
    void runFor(double seconds);
    // Lets time pass delivering the drivers' messages, with one idle pass only at the end.
    void deliverFor(platform::Nanoseconds duration);

    platform::VirtualClock clock;
    platform::Idle idle;

private:
    InstalledDrivers installed_;  // after the clock: the drivers go before it
    std::optional<app::session::Session> session_;
    std::unique_ptr<app::window::TForm1> window_;
};

// The child of `parent` named `name`, of type T (a test failure when missing).
template <typename T>
T* widget(const QObject& parent, const char* name) {
    T* w = parent.findChild<T*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

}  // namespace testsupport
