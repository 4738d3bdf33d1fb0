#include "platform/idle.h"

#include <QAbstractEventDispatcher>
#include <QThread>

namespace platform {

Idle::Idle(QObject* parent) : QObject(parent) {}

bool Idle::runOnce() {
    bool done = true;
    if (!handler_ || running_) return done;  // no re-entry from nested event loops
    running_ = true;
    ++calls_;
    handler_(this, done);
    running_ = false;
    return done;
}

void Idle::attachToEventLoop() {
    auto* dispatcher = QAbstractEventDispatcher::instance(thread());
    if (dispatcher == nullptr) return;
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] { runOnce(); });
}

}  // namespace platform
