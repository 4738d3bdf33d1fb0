#include "platform/mixer/alsa/alsa_layout.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <string_view>

namespace platform::mixer::alsa {
namespace {

struct NamedType {
    std::string_view name;  // lower case
    DWORD type;
};

constexpr std::array kSourceNames{
    NamedType{"pcm", MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT},
    NamedType{"wave", MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT},
    NamedType{"line", MIXERLINE_COMPONENTTYPE_SRC_LINE},
    NamedType{"line in", MIXERLINE_COMPONENTTYPE_SRC_LINE},
    NamedType{"mic", MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE},
    NamedType{"microphone", MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE},
    NamedType{"cd", MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC},
    NamedType{"aux", MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY},
    NamedType{"synth", MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER},
    NamedType{"midi", MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER},
    NamedType{"fm", MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER},
    NamedType{"pc speaker", MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER},
    NamedType{"beep", MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER},
    NamedType{"pc beep", MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER},
    NamedType{"phone", MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE},
};

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string lineName(const AlsaElementInfo& e) {
    return e.index == 0 ? e.name : e.name + " " + std::to_string(e.index);
}

bool hasPlayback(const AlsaElementInfo& e) { return !e.enumerated && (e.playback.volume || e.playback.switched); }
bool hasCapture(const AlsaElementInfo& e) { return !e.enumerated && (e.capture.volume || e.capture.switched); }

DWORD steps(const AlsaElementInfo::Side& side) {
    const long range = side.volumeMax - side.volumeMin;
    return static_cast<DWORD>(std::clamp<long>(range, 0, 65535));
}

class Builder {
public:
    Builder(const std::vector<AlsaElementInfo>& elements, AlsaLayout& layout) : elements_(elements), layout_(layout) {}

    void build() {
        speakers();
        recording();
        assignIdentifiers(layout_.topology);
        // Line identifiers are known only now; control identifiers were given as made.
    }

private:
    TopologyLine newLine(DWORD type, std::string name, DWORD channels) {
        TopologyLine l;
        l.componentType = type;
        l.channels = channels;
        l.shortName = name.substr(0, MIXER_SHORT_NAME_CHARS - 1);
        l.name = name.substr(0, MIXER_LONG_NAME_CHARS - 1);
        return l;
    }

    void add(TopologyLine& line, DWORD destination, int source, TopologyControl control, AlsaBinding binding) {
        control.id = nextId_++;
        binding.controlId = control.id;
        binding.where = ControlLocation{destination, source, static_cast<DWORD>(line.controls.size())};
        line.controls.push_back(std::move(control));
        layout_.bindings.push_back(std::move(binding));
    }

    void addVolume(TopologyLine& line, DWORD d, int s, std::size_t e, bool capture) {
        const auto& side = capture ? elements_[e].capture : elements_[e].playback;
        if (!side.volume) return;
        TopologyControl c;
        c.type = MIXERCONTROL_CONTROLTYPE_VOLUME;
        c.flags = side.volumeJoined && line.channels > 1 ? MIXERCONTROL_CONTROLF_UNIFORM : 0;
        c.shortName = "Volume";
        c.name = capture ? "Capture Volume" : "Volume";
        c.minimum = 0;
        c.maximum = 65535;
        c.steps = steps(side);
        add(line, d, s, std::move(c),
            AlsaBinding{0, capture ? AlsaValueKind::CaptureVolume : AlsaValueKind::PlaybackVolume, e, {}, {}});
    }

    void addMute(TopologyLine& line, DWORD d, int s, std::size_t e, bool capture) {
        const auto& side = capture ? elements_[e].capture : elements_[e].playback;
        if (!side.switched) return;
        TopologyControl c;
        c.type = MIXERCONTROL_CONTROLTYPE_MUTE;
        c.flags = side.switchJoined && line.channels > 1 ? MIXERCONTROL_CONTROLF_UNIFORM : 0;
        c.shortName = "Mute";
        c.name = capture ? "Capture Mute" : "Mute";
        c.minimum = 0;
        c.maximum = 1;
        add(line, d, s, std::move(c),
            AlsaBinding{0, capture ? AlsaValueKind::CaptureMute : AlsaValueKind::PlaybackMute, e, {}, {}});
    }

    void addList(TopologyLine& line, DWORD d, DWORD type, DWORD items, AlsaBinding binding) {
        TopologyControl c;
        c.type = type;
        c.flags = MIXERCONTROL_CONTROLF_UNIFORM | MIXERCONTROL_CONTROLF_MULTIPLE;
        c.items = items;
        c.shortName = type == MIXERCONTROL_CONTROLTYPE_MUX ? "Mux" : "Mixer";
        c.name = "Capture Source";
        c.minimum = 0;
        c.maximum = 1;
        add(line, d, -1, std::move(c), std::move(binding));
    }

    std::vector<std::size_t> pick(bool (*pred)(const AlsaElementInfo&)) const {
        std::vector<std::size_t> out;
        for (std::size_t i = 0; i < elements_.size(); ++i)
            if (pred(elements_[i])) out.push_back(i);
        return out;
    }

    std::optional<std::size_t> named(const std::vector<std::size_t>& among, std::string_view name) const {
        for (std::size_t i : among)
            if (lower(elements_[i].name) == lower(name) && elements_[i].index == 0) return i;
        return std::nullopt;
    }

    void speakers() {
        const auto playback = pick(hasPlayback);
        if (playback.empty()) return;
        std::optional<std::size_t> master = named(playback, "Master");
        if (!master) {
            for (std::size_t i : playback)
                if (elements_[i].playback.volume) {
                    master = i;
                    break;
                }
        }
        const auto d = static_cast<DWORD>(layout_.topology.destinations.size());
        TopologyDestination dest;
        const bool mono = master && elements_[*master].playback.mono;
        dest.line = newLine(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, master ? lineName(elements_[*master]) : "Speakers",
                            mono ? 1 : 2);
        dest.line.targetType = MIXERLINE_TARGETTYPE_WAVEOUT;
        if (master) {
            addVolume(dest.line, d, -1, *master, false);
            addMute(dest.line, d, -1, *master, false);
        }
        for (std::size_t e : playback) {
            if (master && e == *master) continue;
            const auto& el = elements_[e];
            const int s = static_cast<int>(dest.sources.size());
            TopologyLine src = newLine(componentTypeForName(el.name), lineName(el), el.playback.mono ? 1 : 2);
            addVolume(src, d, s, e, false);
            addMute(src, d, s, e, false);
            dest.sources.push_back(std::move(src));
        }
        layout_.topology.destinations.push_back(std::move(dest));
    }

    void recording() {
        const auto capture = pick(hasCapture);
        std::optional<std::size_t> selector;
        for (std::size_t i = 0; i < elements_.size(); ++i)
            if (elements_[i].captureEnum && !elements_[i].enumItems.empty()) {
                selector = i;
                break;
            }
        if (capture.empty() && !selector) return;

        const std::optional<std::size_t> master = named(capture, "Capture");
        const auto d = static_cast<DWORD>(layout_.topology.destinations.size());
        TopologyDestination dest;
        const bool mono = master && elements_[*master].capture.mono;
        dest.line = newLine(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, master ? lineName(elements_[*master]) : "Capture",
                            mono ? 1 : 2);
        dest.line.targetType = MIXERLINE_TARGETTYPE_WAVEIN;
        if (master) {
            addVolume(dest.line, d, -1, *master, true);
            addMute(dest.line, d, -1, *master, true);
        }

        std::vector<std::size_t> rest;
        for (std::size_t e : capture)
            if (!master || e != *master) rest.push_back(e);

        auto addSource = [&](std::string name, std::optional<std::size_t> element) {
            const int s = static_cast<int>(dest.sources.size());
            const bool oneChannel = element && elements_[*element].capture.mono;
            TopologyLine src = newLine(componentTypeForName(name), name, oneChannel ? 1 : 2);
            if (element) addVolume(src, d, s, *element, true);
            dest.sources.push_back(std::move(src));
        };

        if (selector) {
            const auto& items = elements_[*selector].enumItems;
            addList(dest.line, d, MIXERCONTROL_CONTROLTYPE_MUX, static_cast<DWORD>(items.size()),
                    AlsaBinding{0, AlsaValueKind::CaptureEnumSelect, *selector, {}, {}});
            for (const std::string& item : items) {
                const auto same = named(rest, item);
                if (same) rest.erase(std::find(rest.begin(), rest.end(), *same));
                addSource(item, same);
            }
            for (std::size_t e : rest) addSource(lineName(elements_[e]), e);
        } else {
            std::vector<std::size_t> switches;
            bool exclusive = false;
            for (std::size_t e : rest) {
                addSource(lineName(elements_[e]), e);
                if (elements_[e].capture.switched) {
                    switches.push_back(e);
                    exclusive = exclusive || elements_[e].captureSwitchExclusive;
                }
            }
            if (!switches.empty()) {
                const DWORD type = exclusive ? MIXERCONTROL_CONTROLTYPE_MUX : MIXERCONTROL_CONTROLTYPE_MIXER;
                addList(dest.line, d, type, static_cast<DWORD>(switches.size()),
                        AlsaBinding{0, AlsaValueKind::CaptureSwitchSelect, 0, switches, {}});
            }
        }
        layout_.topology.destinations.push_back(std::move(dest));
    }

    const std::vector<AlsaElementInfo>& elements_;
    AlsaLayout& layout_;
    DWORD nextId_ = 1;
};

}  // namespace

const AlsaBinding* AlsaLayout::binding(DWORD controlId) const {
    for (const auto& b : bindings)
        if (b.controlId == controlId) return &b;
    return nullptr;
}

bool AlsaLayout::uses(const AlsaBinding& binding, std::size_t element) {
    if (binding.kind == AlsaValueKind::CaptureSwitchSelect)
        return std::find(binding.elements.begin(), binding.elements.end(), element) != binding.elements.end();
    return binding.element == element;
}

AlsaLayout buildAlsaLayout(const std::vector<AlsaElementInfo>& elements, const std::string& productName) {
    AlsaLayout layout;
    layout.topology.productName = productName;
    Builder(elements, layout).build();
    return layout;
}

DWORD componentTypeForName(const std::string& name) {
    const std::string n = lower(name);
    for (const auto& entry : kSourceNames)
        if (n == entry.name) return entry.type;
    if (n.size() > 4 && n.compare(n.size() - 4, 4, " mic") == 0) return MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE;
    return MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED;
}

// Ranges this wide are scaled in floating point so that the products below
// cannot overflow; every ALSA card seen so far has far narrower ones.
constexpr long long kIntegerRange = 1LL << 40;

DWORD volumeToWord(long value, long min, long max) {
    if (max <= min) return 0;
    value = std::clamp(value, min, max);
    const long double wide = static_cast<long double>(max) - static_cast<long double>(min);
    if (wide > static_cast<long double>(kIntegerRange))
        return static_cast<DWORD>(
            std::llround((static_cast<long double>(value) - static_cast<long double>(min)) * 65535.0L / wide));
    const long long v = static_cast<long long>(value) - min;
    const long long range = static_cast<long long>(max) - min;
    return static_cast<DWORD>((v * 65535 + range / 2) / range);
}

long wordToVolume(DWORD word, long min, long max) {
    if (max <= min) return min;
    const long long w = std::min<DWORD>(word, 65535);
    const long double wide = static_cast<long double>(max) - static_cast<long double>(min);
    if (wide > static_cast<long double>(kIntegerRange))
        return static_cast<long>(
            std::llround(static_cast<long double>(min) + static_cast<long double>(w) * wide / 65535.0L));
    const long long range = static_cast<long long>(max) - min;
    return static_cast<long>(min + (w * range + 32767) / 65535);
}

}  // namespace platform::mixer::alsa
