#pragma once
// The lab of one run: its session (always there, so that headless actions and
// --state can use it) and its window, made when first asked for: by --lab, by
// Ctrl+M in the main window, or headless by an action that draws the graph.
#include "app/options.h"
#include "lab/csv_dialect.h"

#include <QObject>

namespace app::window {
class TForm1;
}

namespace app::lab {

class LabSession;
class LabWindow;

class Lab : public QObject {
public:
    // The keyboard shortcut of the main window that opens the lab window.
    static constexpr const char* kShortcut = "Ctrl+M";

    explicit Lab(window::TForm1& form);

    LabSession& session() { return session_; }
    const LabSession& session() const { return session_; }
    // The window, made (hidden) if it is not there yet.
    LabWindow& window();
    // Shows the window beside the main window, or brings it forward.
    void open();

    // The dialect of headless CSV exports: by default the locale's.
    ::lab::CsvDialect csvDialect;

private:
    window::TForm1& form_;
    LabSession& session_;
    LabWindow* window_ = nullptr;
};

// The lab of this run, owned by the main window: Ctrl+M opens its window,
// and --lab opens it now.
Lab& setupLab(window::TForm1& form, const Options& options);

}  // namespace app::lab
