#pragma once
// Runs the event loop of a test on real devices while the device threads post
// their notifications.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace realaudio_test {

// Runs the event loop until `done` holds or `seconds` have passed.
template <typename Pred>
bool pumpUntil(Pred done, double seconds) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > seconds * 1000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

inline void pumpFor(double seconds) {
    pumpUntil([] { return false; }, seconds);
}

}  // namespace realaudio_test
