#include "platform/mixer/alsa/alsa_mixer_session.h"

#include "platform/mixer/alsa/alsa_control_values.h"
#include "platform/mixer/alsa/alsa_elements.h"
#include "platform/win/message_window.h"

#include <QSocketNotifier>
#include <QTimer>
#include <alsa/asoundlib.h>
#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace platform::mixer::alsa {
namespace {

std::string failure(const std::string& device, const char* what, int err) {
    return "ALSA mixer '" + device + "': " + what + ": " + snd_strerror(err);
}

}  // namespace

MMRESULT alsaMixerResult(int err) {
    switch (-err) {
        case 0:
            return MMSYSERR_NOERROR;
        case ENOMEM:
            return MMSYSERR_NOMEM;
        case EBUSY:
            return MMSYSERR_ALLOCATED;
        case ENODEV:
        case ENXIO:
        case ENOENT:
            return MMSYSERR_NODRIVER;
        case EINVAL:
            return MMSYSERR_INVALPARAM;
        default:
            return MMSYSERR_ERROR;
    }
}

std::unique_ptr<AlsaMixerSession> AlsaMixerSession::open(const std::string& device, MMRESULT& result,
                                                         std::string& error) {
    std::unique_ptr<AlsaMixerSession> s(new AlsaMixerSession());
    s->device_ = device;
    int err = snd_mixer_open(&s->mixer_, 0);
    const char* step = "cannot open the mixer";
    if (err == 0) {
        err = snd_mixer_attach(s->mixer_, device.c_str());
        step = "cannot attach the control device";
    }
    if (err == 0) {
        err = snd_mixer_selem_register(s->mixer_, nullptr, nullptr);
        step = "cannot register the simple mixer";
    }
    if (err == 0) {
        err = snd_mixer_load(s->mixer_);
        step = "cannot load the mixer elements";
    }
    if (err < 0) {
        result = alsaMixerResult(err);
        if (result == MMSYSERR_INVALPARAM) result = MMSYSERR_NODRIVER;  // a name ALSA does not know
        error = failure(device, step, err);
        return nullptr;
    }
    std::vector<AlsaElementInfo> infos;
    for (snd_mixer_elem_t* e = snd_mixer_first_elem(s->mixer_); e != nullptr; e = snd_mixer_elem_next(e)) {
        if (snd_mixer_selem_is_active(e) == 0) continue;
        s->elements_.push_back(e);
        infos.push_back(describeAlsaElement(e));
    }
    s->changed_.assign(s->elements_.size(), false);
    s->removed_.assign(s->elements_.size(), false);
    s->layout_ = buildAlsaLayout(infos, alsaProductName(device));
    result = MMSYSERR_NOERROR;
    return s;
}

AlsaMixerSession::~AlsaMixerSession() {
    retry_.reset();
    notifiers_.clear();
    releaseMixer();
}

void AlsaMixerSession::releaseMixer() {
    if (mixer_ == nullptr) return;
    // Closing throws a removal event at every element: nobody listens any more.
    for (snd_mixer_elem_t* e = snd_mixer_first_elem(mixer_); e != nullptr; e = snd_mixer_elem_next(e))
        snd_mixer_elem_set_callback(e, nullptr);
    snd_mixer_close(mixer_);
    mixer_ = nullptr;
}

const TopologyLine& AlsaMixerSession::lineOf(const AlsaBinding& binding) const {
    return *findLine(layout_.topology, binding.where.destination, binding.where.source);
}

void AlsaMixerSession::watch(HMIXER handle, HWND window) {
    handle_ = handle;
    window_ = window;
    if (window == 0) return;
    for (const auto& b : layout_.bindings) {
        std::vector<DWORD> words;
        std::string ignored;  // a control that cannot be read now is published when it can
        if (read(b, words, ignored) == MMSYSERR_NOERROR) known_[b.controlId] = std::move(words);
    }
    for (snd_mixer_elem_t* e : elements_) {
        snd_mixer_elem_set_callback_private(e, this);
        snd_mixer_elem_set_callback(e, &AlsaMixerSession::elementEvent);
    }
    const int count = snd_mixer_poll_descriptors_count(mixer_);
    std::vector<pollfd> fds(static_cast<std::size_t>(std::max(count, 0)));
    const int filled = snd_mixer_poll_descriptors(mixer_, fds.data(), static_cast<unsigned>(fds.size()));
    for (int i = 0; i < filled; ++i) {
        const auto type = (fds[static_cast<std::size_t>(i)].events & POLLOUT) != 0 ? QSocketNotifier::Write
                                                                                   : QSocketNotifier::Read;
        auto notifier = std::make_unique<QSocketNotifier>(fds[static_cast<std::size_t>(i)].fd, type);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(), [this] { activity(); });
        notifiers_.push_back(std::move(notifier));
    }
}

int AlsaMixerSession::elementEvent(snd_mixer_elem_t* elem, unsigned int mask) {
    auto* self = static_cast<AlsaMixerSession*>(snd_mixer_elem_get_callback_private(elem));
    if (self == nullptr) return 0;
    const auto it = std::find(self->elements_.begin(), self->elements_.end(), elem);
    if (it == self->elements_.end()) return 0;
    const auto i = static_cast<std::size_t>(it - self->elements_.begin());
    if (mask == SND_CTL_EVENT_MASK_REMOVE) {
        self->removed_[i] = true;
        *it = nullptr;  // ALSA frees it after this call
    } else if ((mask & (SND_CTL_EVENT_MASK_VALUE | SND_CTL_EVENT_MASK_INFO)) != 0) {
        self->changed_[i] = true;
    }
    return 0;
}

void AlsaMixerSession::activity() {
    const int count = snd_mixer_poll_descriptors_count(mixer_);
    std::vector<pollfd> fds(static_cast<std::size_t>(std::max(count, 0)));
    const int filled = snd_mixer_poll_descriptors(mixer_, fds.data(), static_cast<unsigned>(fds.size()));
    if (filled > 0) ::poll(fds.data(), static_cast<nfds_t>(filled), 0);
    unsigned short revents = 0;
    if (filled > 0) snd_mixer_poll_descriptors_revents(mixer_, fds.data(), static_cast<unsigned>(filled), &revents);
    bool gone = (revents & (POLLERR | POLLHUP | POLLNVAL)) != 0;
    if (!gone) {
        const int err = snd_mixer_handle_events(mixer_);
        // The sound-server plugin says "I/O error" when its server went away.
        gone = err == -EIO || err == -ENODEV || err == -ENXIO || err == -EBADFD || err == -ENOTCONN ||
               err == -ECONNRESET || err == -EPIPE;
        if (err < 0 && !gone) {
            static bool said = false;  // the events are read again at the next activity
            if (!said) std::fprintf(stderr, "audio: %s\n", failure(device_, "cannot read its events", err).c_str());
            said = true;
        }
    }
    if (gone) {
        // The control device went away: stop watching (the notifier that called
        // us goes once it has returned), and say so for every line.
        for (auto& n : notifiers_) {
            n->setEnabled(false);
            n.release()->deleteLater();
        }
        notifiers_.clear();
        for (std::size_t i = 0; i < elements_.size(); ++i) removed_[i] = true;
        publish();
        lost();
        return;
    }
    publish();
}

void AlsaMixerSession::lost() {
    if (window_ == 0 || retry_) return;
    std::fprintf(stderr, "audio: ALSA mixer '%s' is gone; trying to reopen it\n", device_.c_str());
    retry_ = std::make_unique<QTimer>();
    QObject::connect(retry_.get(), &QTimer::timeout, retry_.get(), [this] { retry(); });
    retry_->start(500);
}

void AlsaMixerSession::retry() {
    MMRESULT result = MMSYSERR_NOERROR;
    std::string error;
    std::unique_ptr<AlsaMixerSession> fresh = open(device_, result, error);
    if (!fresh) return;
    const auto ids = [](const AlsaLayout& l) {
        std::vector<DWORD> v;
        for (const auto& b : l.bindings) v.push_back(b.controlId);
        return v;
    };
    if (ids(fresh->layout_) != ids(layout_)) return;  // another card: the tree would not fit it
    releaseMixer();
    mixer_ = fresh->mixer_;
    fresh->mixer_ = nullptr;
    elements_ = std::move(fresh->elements_);
    changed_ = std::move(fresh->changed_);
    removed_ = std::move(fresh->removed_);
    layout_ = std::move(fresh->layout_);
    for (const auto& [id, words] : set_) {
        // A value the new device refuses stays as the device has it.
        if (const AlsaBinding* b = layout_.binding(id)) writeAlsaValues(elements_, *b, words);
    }
    known_.clear();
    retry_.release()->deleteLater();  // it is calling us
    std::fprintf(stderr, "audio: ALSA mixer '%s' is back\n", device_.c_str());
    watch(handle_, window_);
    std::vector<DWORD> lines;
    for (const auto& b : layout_.bindings) {
        const DWORD line = lineOf(b).id;
        if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(line);
    }
    for (DWORD id : lines)
        postMessage(window_, MM_MIXM_LINE_CHANGE, static_cast<WPARAM>(handle_), static_cast<LPARAM>(id));
    for (const auto& b : layout_.bindings)
        postMessage(window_, MM_MIXM_CONTROL_CHANGE, static_cast<WPARAM>(handle_), static_cast<LPARAM>(b.controlId));
}

void AlsaMixerSession::publish() {
    for (std::size_t i = 0; i < elements_.size(); ++i) {
        if (removed_[i]) {
            removed_[i] = false;
            changed_[i] = false;
            disconnect(i);
            continue;
        }
        if (!changed_[i]) continue;
        changed_[i] = false;
        for (const auto& b : layout_.bindings) {
            if (!AlsaLayout::uses(b, i)) continue;
            std::vector<DWORD> words;
            std::string ignored;  // a failed read is reported when the control is next read
            if (read(b, words, ignored) != MMSYSERR_NOERROR) continue;
            auto& known = known_[b.controlId];
            if (known == words) continue;
            known = std::move(words);
            postMessage(window_, MM_MIXM_CONTROL_CHANGE, static_cast<WPARAM>(handle_),
                        static_cast<LPARAM>(b.controlId));
        }
    }
}

void AlsaMixerSession::disconnect(std::size_t element) {
    elements_[element] = nullptr;
    std::vector<DWORD> lines;
    for (const auto& b : layout_.bindings) {
        if (!AlsaLayout::uses(b, element)) continue;
        TopologyLine& line = *findLine(layout_.topology, b.where.destination, b.where.source);
        line.flags = (line.flags & ~MIXERLINE_LINEF_ACTIVE) | MIXERLINE_LINEF_DISCONNECTED;
        if (std::find(lines.begin(), lines.end(), line.id) == lines.end()) lines.push_back(line.id);
    }
    for (DWORD id : lines)
        postMessage(window_, MM_MIXM_LINE_CHANGE, static_cast<WPARAM>(handle_), static_cast<LPARAM>(id));
}

MMRESULT AlsaMixerSession::read(const AlsaBinding& b, std::vector<DWORD>& words, std::string& error) {
    const TopologyLine& line = lineOf(b);
    const TopologyControl& control = line.controls[b.where.index];
    words.assign(static_cast<std::size_t>(valueChannels(control, line)) * valueItems(control), 0);
    if (const int err = readAlsaValues(elements_, b, words); err < 0) {
        error = failure(device_, "cannot read a control", err);
        return alsaMixerResult(err);
    }
    return MMSYSERR_NOERROR;
}

MMRESULT AlsaMixerSession::write(const AlsaBinding& b, const std::vector<DWORD>& words, std::string& error) {
    // A single-selection list always has one item chosen.
    const bool noneChosen = std::all_of(words.begin(), words.end(), [](DWORD w) { return w == 0; });
    if (b.kind == AlsaValueKind::CaptureEnumSelect && noneChosen)
        return MIXERR_INVALVALUE;
    if (const int err = writeAlsaValues(elements_, b, words); err < 0) {
        error = failure(device_, "cannot set a control", err);
        return alsaMixerResult(err);
    }
    set_[b.controlId] = words;
    return MMSYSERR_NOERROR;
}

}  // namespace platform::mixer::alsa
