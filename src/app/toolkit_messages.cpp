#include "app/toolkit_messages.h"

#include <QtGlobal>

namespace app {
namespace {

QtMessageHandler previousHandler = nullptr;

void filter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (isToolkitNoise(message)) return;
    if (previousHandler != nullptr) previousHandler(type, context, message);
}

}  // namespace

bool isToolkitNoise(const QString& message) {
    return message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")) ||
           message == QLatin1String("This plugin does not support propagateSizeHints()");
}

void quietToolkitMessages() {
    static const bool installed = [] {
        previousHandler = qInstallMessageHandler(&filter);
        return true;
    }();
    (void)installed;
}

}  // namespace app
