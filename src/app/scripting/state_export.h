#pragma once
// The window's state as JSON, under the system's own names: controls, menu,
// measurement state, audio components, mixer, and the error texts shown; the
// status line, the calibration in force and, on the bench, its true values.
#include <QJsonObject>
#include <QString>

namespace app::window {
class TForm1;
}
namespace app::status {
class StatusLine;
}
namespace app::calibration {
class CalibrationSession;
}
namespace bench {
class BenchDriver;
}
namespace app::lab {
class LabSession;
}

namespace app::scripting {

// What the state is read from besides the window; each part may be absent.
struct StateSources {
    const status::StatusLine* statusLine = nullptr;
    const calibration::CalibrationSession* calibration = nullptr;
    const bench::BenchDriver* bench = nullptr;
    const lab::LabSession* lab = nullptr;
};

QJsonObject exportState(const window::TForm1& form, const StateSources& sources);

// One line with the readings, for a headless run's console; "no reading"
// when the start ended early.
QString readoutSummary(const window::TForm1& form);

}  // namespace app::scripting
