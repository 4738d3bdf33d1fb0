#pragma once
// TCallBackWin: the hidden window a component creates at each open, as the
// target of its device's notifications. It reaches the component through the
// owner's variable (ComponentRef) at every message and hands the message to
// the component's WindowMessage. One window belongs to one open, so a message
// arriving at a window that is no longer the component's current one is late
// news of an earlier open.
#include "platform/win/message_window.h"

namespace audio {

class CallBackWinBase : public platform::win::MessageWindow {
public:
    using platform::win::MessageWindow::MessageWindow;

    bool HasDevice = false;  // a device was opened with this window as its target
    bool CloseSeen = false;  // that device's close notification has arrived
};

template <typename Component>
class TCallBackWin : public CallBackWinBase {
public:
    TCallBackWin(Component*& componentRef, QObject* parent)
        : CallBackWinBase({}, parent), ComponentRef(componentRef) {
        setHandler([this](const platform::win::Message& m) {
            if (Component* component = ComponentRef) component->WindowMessage(*this, m);
        });
    }

    Component*& ComponentRef;
};

}  // namespace audio
