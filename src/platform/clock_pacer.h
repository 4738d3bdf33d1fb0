#pragma once
// ClockPacer: advances a VirtualClock along the wall clock, for virtual drivers
// behind a visible window. It sleeps in the event loop until the next deadline
// (a precise single-shot timer), so an idle bench costs no CPU.
#include "platform/virtual_clock.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace platform {

class ClockPacer : public QObject {
public:
    explicit ClockPacer(VirtualClock& clock, QObject* parent = nullptr);
    ~ClockPacer() override;

private:
    void rearm();
    void tick();

    VirtualClock& clock_;
    QElapsedTimer wall_;
    QTimer timer_;
    Nanoseconds origin_;
};

}  // namespace platform
