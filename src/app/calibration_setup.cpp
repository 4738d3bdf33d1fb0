#include "app/calibration_setup.h"

#include "app/bench_report.h"
#include "app/calibration_session.h"
#include "app/calibration_store.h"
#include "app/calibration_window.h"
#include "app/card_key.h"
#include "app/form.h"
#include "mixer/audio_mixer.h"

#include <algorithm>

namespace app {

void setupCalibration(TForm1& form, const Options& options, const AudioSetup& audio) {
    CalibrationSession::Settings settings;
    settings.key = cardKey(options, form.AudioMixer1->ProductName());
    settings.file = options.calibrationFile.isEmpty() ? defaultCalibrationFile() : options.calibrationFile;
    settings.applyProfile = !options.noCalibration;
    auto* session = new CalibrationSession(form, settings);  // owned by the window
    session->start();
    if (audio.bench) new BenchReport(form, audio.bench);
    if (options.calibrate) {
        auto* window = new CalibrationWindow(*session, &form);
        // Beside the main window, whose client area has its design size.
        window->move(form.x() + std::max(form.width(), form.sizeHint().width()) + 16, form.y());
        window->show();
    }
}

}  // namespace app
