#include "app/audio_setup.h"

#include "platform/mixer/classic_card.h"
#include "platform/mixer/driver_registry.h"
#include "platform/mixer/sim_mixer_driver.h"
#include "platform/virtual_clock.h"
#include "platform/wave/driver_registry.h"
#include "platform/wave/sim_driver.h"

namespace app {

bool setupAudio(const Options& options, AudioSetup& out, QString& error) {
    namespace wave = platform::wave;
    namespace mix = platform::mixer;
    if (options.audio == QLatin1String("sim")) {
        // The simulated card: silence on the line input, the classic mixer.
        auto sim = std::make_shared<wave::SimDriver>(platform::virtualClock());
        sim->setKeepPlayed(false);
        wave::setDriver(sim);
        mix::setDriver(std::make_shared<mix::SimMixerDriver>(std::vector<mix::MixerTopology>{
            mix::classicCardTopology()}));
        out.clock = &platform::virtualClock();
        return true;
    }
    error = QStringLiteral("--audio=%1 is not available in this build").arg(options.audio);
    return false;
}

QString listDevices() { return QStringLiteral("no device listing in this build\n"); }

}  // namespace app
