#include "app/scripting/window_actions.h"

#include "app/command_line.h"
#include "app/window/form.h"

#include <QRegularExpression>
#include <limits>

namespace app::scripting {
namespace {

// The seconds of a well-formed wait:<seconds> action.
double waitSeconds(const QString& action) {
    return action.startsWith(QLatin1String("wait:")) ? action.section(QLatin1Char(':'), 1).toDouble() : 0.0;
}

QString checkWindowAction(const QString& action) {
    static const QRegularExpression menu(QStringLiteral("^menu:.+$"));
    static const QRegularExpression track(QStringLiteral("^track:(TrackBar1|TrackBar2)=-?\\d+$"));
    static const QRegularExpression wait(QStringLiteral("^wait:\\d+(\\.\\d+)?$"));
    if (menu.match(action).hasMatch()) return {};
    // A position or a time is checked as what it becomes: a track bar's
    // position is a 32-bit integer, a wait a number of nanoseconds.
    if (track.match(action).hasMatch()) {
        bool ok = false;
        action.section(QLatin1Char('='), 1).toInt(&ok);
        if (ok) return {};
        return QStringLiteral("bad action \"%1\": a track bar position is a whole number from %2 to %3")
            .arg(action)
            .arg(std::numeric_limits<int>::min())
            .arg(std::numeric_limits<int>::max());
    }
    if (wait.match(action).hasMatch()) {
        if (waitSeconds(action) <= kLongestRunSeconds) return {};
        return QStringLiteral("bad action \"%1\": a wait lasts at most %2 seconds")
            .arg(action)
            .arg(kLongestRunSeconds, 0, 'f', 0);
    }
    return QStringLiteral("bad action \"%1\": expected menu:<entry name>, track:<TrackBar1|TrackBar2>=<position> "
                          "or wait:<seconds>")
        .arg(action);
}

bool ownsWindowAction(const QString& action) {
    for (const char* prefix : {"menu:", "track:", "wait:"})
        if (action.startsWith(QLatin1String(prefix))) return true;
    return false;
}

}  // namespace

const ActionFamily kWindowActions{
    "menu:<entry name>, track:<TrackBar1|TrackBar2>=<position>, wait:<seconds>",
    "  menu:<entry name>              choose a menu entry as a click would\n"
    "  track:<TrackBar1|TrackBar2>=N  move a track bar to position N as the user would\n"
    "  wait:<seconds>                 let time pass\n",
    ownsWindowAction,
    checkWindowAction,
    waitSeconds,
};

QString performWindowAction(window::TForm1& form, const QString& action, const std::function<void()>& pump,
                            const std::function<void(double)>& runFor) {
    const QString kind = action.section(QLatin1Char(':'), 0, 0);
    const QString arg = action.section(QLatin1Char(':'), 1);
    if (kind == QLatin1String("menu")) {
        const QString problem = form.chooseMenuEntry(arg);
        pump();
        return problem;
    }
    if (kind == QLatin1String("track")) {
        const QString name = arg.section(QLatin1Char('='), 0, 0);
        const int position = arg.section(QLatin1Char('='), 1).toInt();
        window::controls::TrackBar* bar = name == QLatin1String("TrackBar1") ? form.TrackBar1 : form.TrackBar2;
        if (bar->isHidden() || !bar->isEnabled()) return QStringLiteral("%1 is hidden and cannot be moved").arg(name);
        bar->userSetPosition(position);
        pump();
        return {};
    }
    runFor(waitSeconds(action));
    return {};
}

}  // namespace app::scripting
