#include "gui/x_display.h"

#include <QProcess>

namespace gui {

QString xDisplay() { return qEnvironmentVariable("PRISTROJE_GUI_DISPLAY"); }

QProcessEnvironment xEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), xDisplay());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // The X keyboard library hands strndup a keymap name that is not
    // terminated within the length it gives; the sanitizer's strndup check
    // reads the whole length and stops the program before it starts.
    if (env.contains(QStringLiteral("ASAN_OPTIONS")))
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":intercept_strndup=0"));
    return env;
}

QString xTool(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.setProcessEnvironment(xEnvironment());
    p.start(program, arguments);
    p.waitForFinished(30000);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

QString xdotool(const QStringList& arguments) { return xTool(QStringLiteral("xdotool"), arguments); }

}  // namespace gui
