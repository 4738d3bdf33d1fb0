#pragma once
// The application's idle notification.
//
// The handler is called when the event queue has drained. It sets Done; false
// asks to be called again at the next drain. Every input to an idle pass
// arrives as an event (a recorded block, a played buffer, user input), so a pass
// repeated with nothing in between gives the same result: we therefore never
// spin. Whatever Done says, the handler runs once after each batch of events,
// which shows exactly what back-to-back passes would show, at no CPU cost.
#include <QObject>
#include <functional>

namespace platform {

class Idle : public QObject {
public:
    using Handler = std::function<void(QObject* sender, bool& done)>;

    explicit Idle(QObject* parent = nullptr);

    // Application.OnIdle := handler (an empty handler uninstalls it).
    void setHandler(Handler handler) { handler_ = std::move(handler); }
    bool installed() const { return static_cast<bool>(handler_); }

    // Calls the handler once, as the event loop does when its queue drains.
    // Returns the handler's Done (true when there is no handler).
    bool runOnce();

    // Follow the thread's event loop: run the handler every time the loop is
    // about to wait for more events.
    void attachToEventLoop();

    // Number of handler calls so far.
    long long callCount() const { return calls_; }

private:
    Handler handler_;
    long long calls_ = 0;
    bool running_ = false;
};

}  // namespace platform
