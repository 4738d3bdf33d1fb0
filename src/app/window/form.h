#pragma once
// TForm1: the main window, a view of the session. Built from the window
// definition; the session holds the recorder, the player, the mixer and the
// shared measurement state, which the window names as the design does; its
// methods are the system's handlers and the thin entry points into the layers
// below.
#include "app/window/client_area.h"
#include "app/window/controls/image_control.h"
#include "app/window/controls/panel_control.h"
#include "app/window/controls/track_bar.h"
#include "app/session/session.h"
#include "measure/instrument.h"
#include "render/face.h"

#include <QAction>
#include <QLineEdit>
#include <QMainWindow>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>
#include <string_view>

namespace audio {
class TAudioIn;
class TAudioOut;
}  // namespace audio
namespace mixer {
class TAudioMixer;
}
namespace platform {
class Idle;
}

class QShortcut;
class QTimer;

namespace app::window {

class FullScreenNote;

class TForm1 : public QMainWindow {
public:
    // Builds the controls and menus of the window definition, over the
    // session's components. FormCreate is not run here: see createMainWindow().
    TForm1(session::Session& session, platform::Idle& idle, QWidget* parent = nullptr);
    ~TForm1() override;

    // --- creation handler and idle loop
    void FormCreate(QObject* Sender);
    void MyIdleEvent(QObject* Sender, bool& Done);

    // --- component events
    bool AudioIn1BufferFilled(char* Buffer, std::int32_t& Size);
    bool AudioOut1FillBuffer(char* Buffer, std::int32_t& Size);
    void TrackBar1Change(QObject* Sender);
    void TrackBar2Change(QObject* Sender);

    // --- measurement passes
    void MeasureVoltage();
    void MeasureCurrent();
    void VoltmeterPass();
    void AmmeterPass();
    void SourcePass();

    // --- drawing entry points
    void DrawAmmeterBackground();
    void DrawVoltmeterBackground();
    void DrawSourceBackground();
    void DrawAmplitudeStrip();
    void DrawAmmeterPointer();
    void DrawVoltmeterPointer();
    void DrawSourcePointer();
    // Draws a face into its instrument's image (the 17 names below lead here).
    void drawFace(render::FaceId face);
    void DrawAmmeterFace10mA() { drawFace(render::FaceId::Ammeter10mA); }
    void DrawAmmeterFace30mA() { drawFace(render::FaceId::Ammeter30mA); }
    void DrawAmmeterFace300mA() { drawFace(render::FaceId::Ammeter300mA); }
    void DrawAmmeterFace1A() { drawFace(render::FaceId::Ammeter1A); }
    void DrawAmmeterFace3A() { drawFace(render::FaceId::Ammeter3A); }
    void DrawAmmeterFace10A() { drawFace(render::FaceId::Ammeter10A); }
    void DrawAmmeterFace30A() { drawFace(render::FaceId::Ammeter30A); }
    void DrawVoltmeterFace300mV() { drawFace(render::FaceId::Voltmeter300mV); }
    void DrawVoltmeterFace1V() { drawFace(render::FaceId::Voltmeter1V); }
    void DrawVoltmeterFace3V() { drawFace(render::FaceId::Voltmeter3V); }
    void DrawVoltmeterFace10V() { drawFace(render::FaceId::Voltmeter10V); }
    void DrawVoltmeterFace30V() { drawFace(render::FaceId::Voltmeter30V); }
    void DrawSourceFace300mV() { drawFace(render::FaceId::Source300mV); }
    void DrawSourceFace1V() { drawFace(render::FaceId::Source1V); }
    void DrawSourceFace3V() { drawFace(render::FaceId::Source3V); }
    void DrawSourceFace10V() { drawFace(render::FaceId::Source10V); }
    void DrawSourceFace30V() { drawFace(render::FaceId::Source30V); }

    // --- menu handlers
    void rukovstejnosmrnvoltmetr1Click(QObject* Sender);
    void rukovstdavvoltmetr1Click(QObject* Sender);
    void NEZOBRAZITVOLTMETR1Click(QObject* Sender);
    void rukovstejnosmrnamprmetr1Click(QObject* Sender);
    void digitlnstdavamprmetr50Hz1Click(QObject* Sender);
    void NEZOBRAZITAMPRMETR1Click(QObject* Sender);
    void zobrazitvoltmetrstejnosmrnhozdroje3Click(QObject* Sender);
    void digitlnvoltmetrstejnosmrnhozdroje2Click(QObject* Sender);
    void digitlnvoltmetrstdavhozdroje50Hz1Click(QObject* Sender);
    void zobrazitvoltmetrstejnosmrnhozdroje4Click(QObject* Sender);

    // --- state (the session's, under the design's names)
    session::Session& session() const { return session_; }
    measure::MeasurementState& state;
    std::int32_t& GeneratorFrequency;
    measure::ReadingHistory& readingHistory;
    measure::TrueRmsMeter& lineInputMeter;
    double& generatorChangeArrives;

    // --- controls (owned by the widget tree)
    controls::ImageControl* Image1 = nullptr;
    controls::ImageControl* Image2 = nullptr;
    controls::ImageControl* Image3 = nullptr;
    controls::ImageControl* Image4 = nullptr;
    controls::ImageControl* Image5 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    controls::TrackBar* TrackBar1 = nullptr;
    controls::TrackBar* TrackBar2 = nullptr;
    controls::PanelControl* Panel2 = nullptr;
    controls::PanelControl* Panel3 = nullptr;
    controls::PanelControl* Panel4 = nullptr;
    controls::PanelControl* Panel5 = nullptr;
    controls::PanelControl* Panel6 = nullptr;
    controls::PanelControl* Panel10 = nullptr;
    controls::PanelControl* Panel11 = nullptr;

    // --- components (the session's)
    audio::TAudioIn*& AudioIn1;
    audio::TAudioOut*& AudioOut1;
    mixer::TAudioMixer*& AudioMixer1;

    // --- access by name (window definition and menu)
    QWidget* control(const QString& name) const;
    QAction* menuEntry(const QString& name) const;
    // The submenu an entry belongs to (nullptr for menu-bar entries).
    QAction* parentMenuOf(const QString& name) const;
    bool isDefaultEntry(const QString& name) const;

    // Chooses a menu entry as a click would. Returns an empty string, or the
    // reason it cannot be chosen (unknown, disabled, inside a disabled submenu).
    QString chooseMenuEntry(const QString& name);

    // True once FormCreate has run to its end: the measuring passes run and
    // the readouts show what the instruments read.
    bool measuring() const { return session_.measuring(); }
    // The start ended early (the mixer raised): the instruments' digital
    // readouts say that there is no reading instead of their design captions.
    void showNoReading();

    // The application's default error handler: the session keeps the text
    // (for --state), and the window shows it in a message box, or on stderr
    // when there is no screen.
    void showError(const QString& text) { session_.raiseError(text); }
    const QStringList& errors() const { return session_.errors(); }

    // The client area as shown: the design at its size, or scaled (see
    // ClientArea).
    ClientArea* clientArea() const { return client_; }

    // Full screen (F11 switches it, Esc leaves it): the window takes the
    // screen, and the client area, in what the menu bar and the status line
    // leave, shows the whole design as large as it fits; for a few seconds a
    // note says how to leave. Off: the window is back at the size and place
    // it had. A window manager (X11) or a compositor (Wayland) is asked to do
    // it; without one (a bare X server) the window takes the screen itself.
    // A Wayland compositor answers a switch later: until it has, a further
    // switch waits, and then the last one asked for is made.
    void setFullScreen(bool on);
    bool fullScreen() const { return fullScreen_; }
    // True while the compositor has not yet answered a switch.
    bool switchingFullScreen() const { return switching_; }

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void toggleFullScreen() { setFullScreen(!wantedFullScreen_.value_or(fullScreen_)); }
    void buildControls();
    void buildMenu();
    void markDefault(const QString& entryName);
    void setMenuCaption(const QString& entryName, const QString& caption);
    void drawPointer(measure::Instrument instrument);
    // The ammeter's unit box (Panel11) names the unit of the face on its band.
    void showAmmeterUnit(std::string_view unit);
    controls::ImageControl* imageOf(measure::Instrument instrument) const;
    void repaintWindow();
    void setGeneratorControlsVisible(bool visible);
    // The generator's bars step visibly for the arrows and PageUp/PageDown.
    void setKeyboardSteps();
    void startMixer();
    // The session's error, shown to the teacher.
    void showErrorBox(const QString& text);
    // The generator's new settings on the bars and the source row's readouts.
    void showGenerator(session::Bar bar);
    void setUpWindowing();
    // The smallest client area of a window that is not full screen.
    QSize windowedClientMinimum() const;
    void switched();
    void restoreNormalPlace();

    session::Session& session_;
    platform::Idle& idle_;
    ClientArea* client_ = nullptr;
    std::map<QString, QWidget*> controls_;
    std::map<QString, QAction*> menu_;
    std::map<QString, QString> parentOf_;
    bool fullScreen_ = false;
    QRect normalPlace_;
    bool maximizedBefore_ = false;  // the window was maximized before full screen
    bool byWindowManager_ = false;  // the last switch was the window manager's to make
    QShortcut* leaveFullScreen_ = nullptr;
    bool switching_ = false;
    std::optional<bool> wantedFullScreen_;  // asked for while switching
    QTimer* switchTimeout_ = nullptr;
    FullScreenNote* fullScreenNote_ = nullptr;
};

// Program entry step 2: creates the window, then runs FormCreate under the
// application's default error handler (an exception ends FormCreate at that
// step, its message is shown, and the window opens all the same).
std::unique_ptr<TForm1> createMainWindow(session::Session& session, platform::Idle& idle);

}  // namespace app::window
