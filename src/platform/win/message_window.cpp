#include "platform/win/message_window.h"

#include <QCoreApplication>
#include <QEvent>
#include <mutex>
#include <unordered_map>

namespace platform::win {
namespace {

const QEvent::Type kMessageEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

class MessageEvent : public QEvent {
public:
    explicit MessageEvent(const Message& m) : QEvent(kMessageEventType), message(m) {}
    Message message;
};

// Handle → window. The lock is held while an event is posted, so a window is
// never destroyed between the look-up and the post; Qt drops events still
// queued for an object when it is deleted.
struct Registry {
    std::mutex lock;
    std::unordered_map<HWND, MessageWindow*> windows;
    HWND next = 1;
};

Registry& registry() {
    static Registry r;
    return r;
}

}  // namespace

MessageWindow::MessageWindow(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {
    auto& r = registry();
    std::lock_guard guard(r.lock);
    handle_ = r.next++;
    if (r.next == 0) r.next = 1;  // unsigned wrap; 0 is never a handle
    r.windows.emplace(handle_, this);
}

MessageWindow::~MessageWindow() {
    auto& r = registry();
    std::lock_guard guard(r.lock);
    r.windows.erase(handle_);
}

void MessageWindow::post(UINT msg, WPARAM wParam, LPARAM lParam) const {
    postMessage(handle_, msg, wParam, lParam);
}

void MessageWindow::send(const Message& m) {
    if (handler_) handler_(m);
}

bool MessageWindow::event(QEvent* e) {
    if (e->type() == kMessageEventType) {
        send(static_cast<MessageEvent*>(e)->message);
        return true;
    }
    return QObject::event(e);
}

bool postMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto& r = registry();
    std::lock_guard guard(r.lock);
    const auto it = r.windows.find(window);
    if (it == r.windows.end()) return false;
    QCoreApplication::postEvent(it->second, new MessageEvent(Message{msg, wParam, lParam}));
    return true;
}

}  // namespace platform::win
