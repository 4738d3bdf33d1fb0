#include "app/audio_setup.h"

#include "app/bench_card.h"
#include "platform/mixer/alsa_mixer_driver.h"
#include "platform/mixer/classic_card.h"
#include "platform/mixer/driver_registry.h"
#include "platform/mixer/sim_mixer_driver.h"
#include "platform/virtual_clock.h"
#include "platform/wave/alsa_driver.h"
#include "platform/wave/bench_driver.h"
#include "platform/wave/device_list.h"
#include "platform/wave/driver_registry.h"
#include "platform/wave/file_driver.h"
#include "platform/wave/sim_driver.h"
#include "platform/wave/tee_driver.h"

namespace app {

namespace wave = platform::wave;
namespace mix = platform::mixer;

namespace {

std::shared_ptr<mix::MixerDriver> classicMixer() {
    return std::make_shared<mix::SimMixerDriver>(std::vector<mix::MixerTopology>{mix::classicCardTopology()});
}

}  // namespace

bool setupAudio(const Options& options, AudioSetup& out, QString& error) {
    std::shared_ptr<wave::Driver> driver;
    std::shared_ptr<mix::MixerDriver> mixer;
    out.clock = &platform::virtualClock();
    if (options.audio == QLatin1String("sim")) {
        // The simulated card: silence on the line input, the classic mixer.
        auto sim = std::make_shared<wave::SimDriver>(platform::virtualClock());
        sim->setKeepPlayed(false);
        driver = sim;
        mixer = classicMixer();
    } else if (options.audio == QLatin1String("bench")) {
        BenchCard card = makeBenchCard();
        wave::BenchConfig config;
        config.loadOhms = options.benchLoad;
        config.noise = options.benchNoise;
        config.seed = options.benchSeed;
        config.outputGain = card.outputGain;
        config.recordingGain = card.recordingGain;
        config.lineInputGain = options.benchInputGain;
        config.lineOutputGain = options.benchOutputGain;
        if (const std::string problem = wave::benchConfigError(config); !problem.empty()) {
            error = QString::fromStdString(problem);
            return false;
        }
        out.bench = std::make_shared<wave::BenchDriver>(config, platform::virtualClock());
        driver = out.bench;
        mixer = card.mixer;
    } else if (options.audio == QLatin1String("file")) {
        std::string problem;
        driver = wave::FileDriver::create({options.inputWav.toStdString(), options.loop}, problem,
                                          platform::virtualClock());
        if (!driver) {
            error = QString::fromStdString(problem);
            return false;
        }
        mixer = classicMixer();
    } else {
        // Real devices set the pace.
        driver = std::make_shared<wave::AlsaDriver>(
            wave::AlsaConfig{options.inputDevice.toStdString(), options.outputDevice.toStdString()});
        mixer = std::make_shared<mix::AlsaMixerDriver>(options.mixerDevice.toStdString());
        out.clock = nullptr;
    }
    if (!options.outputWav.isEmpty())
        driver = std::make_shared<wave::TeeDriver>(driver, wave::TeeConfig{options.outputWav.toStdString()});
    wave::setDriver(driver);
    mix::setDriver(mixer);
    // Uninstalled when the program ends, before the drivers' own statics go.
    out.keepAlive = std::shared_ptr<void>(nullptr, [](void*) {
        wave::setDriver(nullptr);
        mix::setDriver(nullptr);
    });
    return true;
}

QString listDevices() { return QString::fromStdString(wave::listDevices()); }

}  // namespace app
