#pragma once
// The lab of one run: its session (always there, so that headless actions and
// --state can use it) and its window, made when first asked for: by --lab, by
// Ctrl+M in the main window, or headless by an action that draws the graph.
#include "app/options.h"
#include "lab/csv_dialect.h"
#include "platform/files/write_outcome.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace app::session {
class Session;
}

namespace app::lab {

class LabSession;
class LabWindow;

class Lab : public QObject {
public:
    // The keyboard shortcut of the main window that opens the lab window.
    static constexpr const char* kShortcut = "Ctrl+M";

    // The lab of `session`, its window beside `mainWindow` (owned by it).
    Lab(session::Session& session, QWidget& mainWindow);

    LabSession& session() { return session_; }
    const LabSession& session() const { return session_; }
    // The window, made (hidden) if it is not there yet.
    LabWindow& window();
    // Shows the window beside the main window, or brings it forward.
    void open();
    // Shows the window full screen in its projector layout (--fullscreen --lab).
    void openOnProjector();

    // The laboratory protocol as a PDF file (the graph as the window draws it).
    platform::files::WriteOutcome writeProtocol(const QString& path);

    // What "Třída…" in the lab window opens (the class view's window); none: no such button.
    void setClassViewOpener(std::function<void()> open) { classViewOpener_ = std::move(open); }
    const std::function<void()>& classViewOpener() const { return classViewOpener_; }

    // The dialect of headless CSV exports: by default the locale's.
    ::lab::CsvDialect csvDialect;

private:
    QWidget& mainWindow_;
    LabSession& session_;
    QPointer<LabWindow> window_;
    bool placed_ = false;
    std::function<void()> classViewOpener_;
};

// The lab of this run, owned by the session: Ctrl+M in the main window opens
// its window, and --lab opens it now.
Lab& setupLab(session::Session& session, QWidget& mainWindow, const Options& options);

}  // namespace app::lab
