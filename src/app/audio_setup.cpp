#include "app/audio_setup.h"

#include "app/card_sharing.h"
#include "bench/bench_card.h"
#include "bench/bench_driver.h"
#include "platform/mixer/alsa/alsa_mixer_driver.h"
#include "platform/mixer/driver_registry.h"
#include "platform/mixer/sim/classic_card.h"
#include "platform/mixer/sim/sim_mixer_driver.h"
#include "platform/virtual_clock.h"
#include "platform/wave/alsa/alsa_driver.h"
#include "platform/wave/alsa/card_of_pcm.h"
#include "platform/wave/alsa/device_list.h"
#include "platform/wave/card_claim.h"
#include "platform/wave/driver_registry.h"
#include "platform/wave/file/file_driver.h"
#include "platform/wave/file/tee_driver.h"
#include "platform/wave/sim/sim_driver.h"

#include <cstdio>

namespace app {

namespace wave = platform::wave;
namespace mix = platform::mixer;

namespace {

std::shared_ptr<mix::MixerDriver> classicMixer() {
    return std::make_shared<mix::sim::SimMixerDriver>(std::vector<mix::MixerTopology>{mix::sim::classicCardTopology()});
}

void install(std::shared_ptr<wave::Driver> driver, std::shared_ptr<mix::MixerDriver> mixer) {
    wave::setDriver(std::move(driver));
    mix::setDriver(std::move(mixer));
}

// The cards of the capture and the playback device (one, as a rule).
std::vector<std::shared_ptr<wave::CardClaim>> claimCards(const Options& options) {
    std::vector<std::shared_ptr<wave::CardClaim>> out;
    for (const QString& pcm : {options.inputDevice, options.outputDevice}) {
        const QString card = QString::fromStdString(wave::alsa::cardOfPcm(pcm.toStdString()));
        if (!out.empty() && out.front()->card() == card) continue;
        out.push_back(std::make_shared<wave::CardClaim>(wave::defaultClaimFolder(), card));
        if (!out.back()->problem().isEmpty())
            std::fprintf(stderr, "pristroje: other instances on the sound card '%s' cannot be told: %s\n",
                         card.toLocal8Bit().constData(), out.back()->problem().toLocal8Bit().constData());
        reportCardSharing(*out.back());
    }
    return out;
}

bool installAlsa(const Options& options, AudioSetup& out, QString&) {
    // Real devices set the pace.
    out.clock = nullptr;
    out.cards = claimCards(options);
    install(std::make_shared<wave::alsa::AlsaDriver>(
                wave::alsa::AlsaConfig{options.inputDevice.toStdString(), options.outputDevice.toStdString()}),
            std::make_shared<mix::alsa::AlsaMixerDriver>(options.mixerDevice.toStdString()));
    return true;
}

bool installBench(const Options& options, AudioSetup& out, QString& error) {
    bench::BenchCard card = bench::makeBenchCard();
    bench::BenchConfig config;
    config.loadOhms = options.benchLoad;
    config.circuit = options.benchCircuit;
    config.noise = options.benchNoise;
    config.seed = options.benchSeed;
    config.outputGain = card.outputGain;
    config.recordingGain = card.recordingGain;
    config.lineInputGain = options.benchInputGain;
    config.lineOutputGain = options.benchOutputGain;
    if (const std::string problem = bench::benchConfigError(config); !problem.empty()) {
        error = QString::fromStdString(problem);
        return false;
    }
    out.clock = &platform::virtualClock();
    out.bench = std::make_shared<bench::BenchDriver>(config, platform::virtualClock());
    install(out.bench, card.mixer);
    return true;
}

bool installFile(const Options& options, AudioSetup& out, QString& error) {
    std::string problem;
    auto driver = wave::file::FileDriver::create({options.inputWav.toStdString(), options.loop}, problem,
                                                 platform::virtualClock());
    if (!driver) {
        error = QString::fromStdString(problem);
        return false;
    }
    out.clock = &platform::virtualClock();
    install(driver, classicMixer());
    return true;
}

bool installSim(const Options&, AudioSetup& out, QString&) {
    // The simulated card: silence on the line input, the classic mixer.
    auto sim = std::make_shared<wave::sim::SimDriver>(platform::virtualClock());
    sim->setKeepPlayed(false);
    out.clock = &platform::virtualClock();
    install(sim, classicMixer());
    return true;
}

constexpr AudioBackend kBackends[] = {
    {"alsa", "real card, default", installAlsa},
    {"bench", "virtual measuring unit", installBench},
    {"file", "WAV line input", installFile},
    {"sim", "simulated card", installSim},
};

}  // namespace

std::span<const AudioBackend> audioBackends() { return kBackends; }

const AudioBackend* findAudioBackend(const QString& name) {
    for (const AudioBackend& b : kBackends)
        if (name == QLatin1String(b.name)) return &b;
    return nullptr;
}

QString audioBackendNames() {
    QString names;
    const std::size_t count = std::size(kBackends);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) names += i + 1 == count ? QStringLiteral(" or ") : QStringLiteral(", ");
        names += QLatin1String(kBackends[i].name);
    }
    return names;
}

bool setupAudio(const Options& options, AudioSetup& out, QString& error) {
    const AudioBackend* backend = findAudioBackend(options.audio);
    if (backend == nullptr) {
        error = QStringLiteral("unknown --audio mode \"%1\": use %2").arg(options.audio, audioBackendNames());
        return false;
    }
    if (!backend->install(options, out, error)) return false;
    if (!options.outputWav.isEmpty())
        wave::setDriver(std::make_shared<wave::file::TeeDriver>(
            wave::currentDriver(), wave::file::TeeConfig{options.outputWav.toStdString()}));
    // Uninstalled when the program ends, before the drivers' own statics go.
    out.keepAlive = std::shared_ptr<void>(nullptr, [](void*) {
        wave::setDriver(nullptr);
        mix::setDriver(nullptr);
    });
    return true;
}

QString listDevices() {
    QString out = QStringLiteral("Sound (--audio):\n");
    for (const AudioBackend& b : kBackends)
        out += QStringLiteral("  %1  - %2\n").arg(QLatin1String(b.name), QLatin1String(b.description));
    return out + QString::fromStdString(wave::alsa::listDevices());
}

}  // namespace app
