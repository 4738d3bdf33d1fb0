#pragma once
// Installs a simulated mixer for one test and takes it away afterwards.
#include "platform/mixer/driver_registry.h"
#include "platform/mixer/sim/sim_mixer_driver.h"
#include "platform/mixer/sim/topology_builders.h"
#include "support/installed_drivers.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace mixer_test {

using namespace platform::mixer;

using namespace platform::mixer::sim;
using platform::win::DWORD;

class SimMixerTest : public ::testing::Test {
protected:
    void install(std::vector<MixerTopology> devices) {
        sim = std::make_shared<SimMixerDriver>(std::move(devices));
        setDriver(sim);
    }
    void install(MixerTopology topology) { install(std::vector<MixerTopology>{std::move(topology)}); }

    // Delivers every posted notification.
    static void deliver() {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    // The identifier of control `c` of line (d, s) in the simulated mixer.
    DWORD controlId(DWORD d, int s, DWORD c) const { return findLine(sim->topology(), d, s)->controls.at(c).id; }
    DWORD lineId(DWORD d, int s) const { return findLine(sim->topology(), d, s)->id; }

    std::shared_ptr<SimMixerDriver> sim;
    // Last: the drivers go before what they use.
    testsupport::InstalledDrivers installed;
};

// A topology of destinations, each given as its line and sources.
inline MixerTopology topologyOf(std::vector<TopologyDestination> destinations) {
    MixerTopology t;
    t.productName = "Test Mixer";
    t.destinations = std::move(destinations);
    return t;
}

inline TopologyLine speakers(std::vector<TopologyControl> controls = {volumeControl(1000), muteControl()}) {
    return line(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, "Speakers", 2, std::move(controls));
}

inline TopologyLine source(DWORD type, const char* name, DWORD channels = 2) {
    return line(type, name, channels, {volumeControl(2000), muteControl()});
}

}  // namespace mixer_test
