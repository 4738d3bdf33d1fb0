#pragma once
// AlsaMixerSession: one open view of an ALSA card's simple mixer: its
// elements, the layout built from them (alsa_layout.h), the control values
// moved to and from the elements, and the watch on ALSA's poll descriptors
// that turns changes into mixer notifications.
//
// A watched session whose control device goes away (a sound server that
// stopped, a card unplugged) disconnects its lines and tries to load the
// device again twice a second. When it is back with the same controls, the
// session takes the new view over, writes again every value this program set
// (the start-up volumes among them), and reports every line and control as
// changed.
#include "platform/mixer/alsa/alsa_layout.h"
#include "platform/mixer/mixer_types.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

struct _snd_mixer;
struct _snd_mixer_elem;
class QSocketNotifier;
class QTimer;

namespace platform::mixer::alsa {

class AlsaMixerSession {
public:
    // Opens the simple mixer of control device `device`. On failure returns
    // null and puts ALSA's reason in `error`.
    static std::unique_ptr<AlsaMixerSession> open(const std::string& device, MMRESULT& result, std::string& error);
    ~AlsaMixerSession();
    AlsaMixerSession(const AlsaMixerSession&) = delete;
    AlsaMixerSession& operator=(const AlsaMixerSession&) = delete;

    const AlsaLayout& layout() const { return layout_; }

    // Posts changes to `window` under `handle` from now on.
    void watch(HMIXER handle, HWND window);

    // A control's value words (valueChannels x valueItems, channel by channel).
    MMRESULT read(const AlsaBinding& binding, std::vector<DWORD>& words, std::string& error);
    MMRESULT write(const AlsaBinding& binding, const std::vector<DWORD>& words, std::string& error);

private:
    AlsaMixerSession() = default;
    static int elementEvent(_snd_mixer_elem* elem, unsigned int mask);
    void activity();
    void publish();
    void disconnect(std::size_t element);
    void lost();
    void retry();
    void releaseMixer();
    const TopologyLine& lineOf(const AlsaBinding& binding) const;

    _snd_mixer* mixer_ = nullptr;
    std::string device_;
    std::vector<_snd_mixer_elem*> elements_;  // null once ALSA removed the element
    std::vector<bool> changed_;
    std::vector<bool> removed_;
    AlsaLayout layout_;
    std::map<DWORD, std::vector<DWORD>> known_;  // values last published, per control
    std::vector<std::unique_ptr<QSocketNotifier>> notifiers_;
    std::map<DWORD, std::vector<DWORD>> set_;  // values this program wrote, per control
    std::unique_ptr<QTimer> retry_;
    HMIXER handle_{};
    HWND window_ = 0;
};

// ALSA's negative error codes as mixer results.
MMRESULT alsaMixerResult(int err);

}  // namespace platform::mixer::alsa
