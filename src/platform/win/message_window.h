#pragma once
// MessageWindow: a hidden window that receives posted messages
// (message number, wParam, lParam) on the UI thread.
//
// post() and postMessage() may be called from any thread; messages posted to one
// window are delivered in the order they were posted. A message posted to a
// window that has been destroyed is dropped (postMessage returns false).
#include "platform/win/win_types.h"

#include <QObject>
#include <functional>

namespace platform::win {

struct Message {
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class MessageWindow : public QObject {
public:
    using Handler = std::function<void(const Message&)>;

    explicit MessageWindow(Handler handler = {}, QObject* parent = nullptr);
    ~MessageWindow() override;
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    HWND handle() const { return handle_; }
    void setHandler(Handler handler) { handler_ = std::move(handler); }

    // Thread-safe: queue a message for this window.
    void post(UINT msg, WPARAM wParam, LPARAM lParam) const;

protected:
    bool event(QEvent* e) override;

private:
    // Delivers a message at once, on the calling (UI) thread.
    void send(const Message& m);

    Handler handler_;
    HWND handle_;
};

// Thread-safe: queue a message for the window with this handle. Returns false
// when no such window exists (never existed, or already destroyed).
bool postMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace platform::win
