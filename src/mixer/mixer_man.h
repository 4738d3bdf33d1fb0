#pragma once
// TMixerMan: receives the mixer's change notifications for its component and
// keeps the component's tree current.
#include "platform/win/message_window.h"

namespace mixer {

class TAudioMixer;

class TMixerMan {
public:
    explicit TMixerMan(TAudioMixer& mixer) : mixer_(mixer) {}

    // The window procedure of the component's hidden window. Acts on
    // MM_MIXM_CONTROL_CHANGE and MM_MIXM_LINE_CHANGE of the component's own open
    // mixer: refreshes the control or line, then raises the event. Other
    // messages, and notifications of another handle or of a closed mixer, are
    // ignored.
    void WndProc(const platform::win::Message& message);

private:
    void ControlChange(platform::win::DWORD controlId);
    void LineChange(platform::win::DWORD lineId);

    TAudioMixer& mixer_;
};

}  // namespace mixer
