#include "app/display_check.h"

#include <QDir>
#include <QFileInfo>

namespace app {
namespace {

bool hasX11() { return !qEnvironmentVariableIsEmpty("DISPLAY"); }

bool hasWayland() {
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return true;
    // Without the variable the toolkit tries the default socket.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(QDir(runtime).filePath(QStringLiteral("wayland-0")));
}

// The platform asked for, or "".
QString requestedPlatform(const QStringList& arguments) {
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i)
        if (arguments[i] == QLatin1String("-platform") || arguments[i] == QLatin1String("--platform"))
            return arguments[i + 1];
    return qEnvironmentVariable("QT_QPA_PLATFORM");
}

}  // namespace

QString missingDisplay(const QStringList& arguments) {
    const QString requested = requestedPlatform(arguments);
    const QStringList platforms = requested.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (platforms.isEmpty()) {
        if (hasX11() || hasWayland()) return {};
    } else {
        for (const QString& entry : platforms) {
            const QString name = entry.section(QLatin1Char(':'), 0, 0);
            if (name == QLatin1String("xcb")) {
                if (hasX11()) return {};
            } else if (name.startsWith(QLatin1String("wayland"))) {
                if (hasWayland()) return {};
            } else {
                return {};  // offscreen, vnc, eglfs, ...: their own business
            }
        }
    }
    return QStringLiteral("there is no display to show the window on (DISPLAY%1 is not set); "
                          "run with --headless to measure without a screen")
        .arg(platforms.isEmpty() || requested.contains(QLatin1String("wayland")) ? QStringLiteral(" or WAYLAND_DISPLAY")
                                                                                  : QString());
}

}  // namespace app
