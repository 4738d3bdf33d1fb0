#pragma once
// Test fixture for the audio components: a simulated sound card on a private
// virtual clock, an owner window object, and helpers that move time and
// deliver the driver's notifications.
#include "audio/audio_in.h"
#include "audio/audio_out.h"
#include "platform/virtual_clock.h"
#include "platform/wave/driver_registry.h"
#include "platform/wave/sim/sim_driver.h"
#include "platform/win/global_memory.h"
#include "support/installed_drivers.h"

#include <QCoreApplication>
#include <QEvent>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace audio_test {

using platform::wave::Direction;
using platform::wave::sim::SimCall;

class AudioFixture : public ::testing::Test {
protected:
    void SetUp() override {
        platform::win::clearGlobalMemoryFaults();
        driver = std::make_shared<platform::wave::sim::SimDriver>(clock);
        platform::wave::setDriver(driver);
        blocksBefore = platform::win::liveGlobalBlocks();
    }
    void TearDown() override { platform::win::clearGlobalMemoryFaults(); }

    // Delivers every posted notification (and pending window deletions),
    // also those posted while notifications are handled.
    static void pump() {
        for (int round = 0; round < 8; ++round) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    // Moves time to the driver's next event (one buffer back) and delivers it.
    bool step() {
        const auto next = clock.nextDeadline();
        if (!next) return false;
        clock.advanceTo(*next);
        pump();
        return true;
    }
    void steps(int n) {
        for (int i = 0; i < n; ++i) ASSERT_TRUE(step()) << "the driver has nothing scheduled at step " << i;
    }
    // Runs until the driver has nothing more to do (bounded).
    void drain() {
        for (int i = 0; i < 1000 && step(); ++i) {
        }
    }

    static std::string text(platform::win::MMRESULT code) {
        return std::string(platform::wave::resultText(code));
    }

    platform::VirtualClock clock;  // outlives the owner: open devices use it until destroyed
    std::shared_ptr<platform::wave::sim::SimDriver> driver;
    std::size_t blocksBefore = 0;
    QObject owner;
    audio::TAudioIn* AudioIn1 = nullptr;
    audio::TAudioOut* AudioOut1 = nullptr;
    // Last: the drivers go before what they use.
    testsupport::InstalledDrivers installed;
};

}  // namespace audio_test
