#pragma once
// What the open window shows, for scripts that drive it as a user would: with
// --snapshot or --state, the window writes them when its standard input ends
// (the script closes the pipe), then closes. Meanwhile, each time the window
// has been painted at a new size or state, it prints one line on its standard
// output, the sign that a script can go on:
//   shown window=WxH fullscreen=0|1 stage=X,Y,WxH
// in screen pixels: the window's size without its frame, and the place and
// size of the instruments (the client area's stage) in the window.
#include "app/options.h"

#include <QObject>
#include <QString>
#include <memory>

class QSocketNotifier;

namespace app::window {
class TForm1;
}

namespace app::scripting {

class HeadlessRunner;

class WindowReport : public QObject {
public:
    // Does nothing unless the options ask for a snapshot or the state.
    WindowReport(window::TForm1& form, HeadlessRunner& writer, const Options& options);
    ~WindowReport() override;

    // The line for the window as it is now.
    static QString shownLine(const window::TForm1& form);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onInput();
    void reportShown();

    window::TForm1& form_;
    HeadlessRunner& writer_;
    Options options_;
    QSocketNotifier* notifier_ = nullptr;
    bool changed_ = true;  // the first paint is a change too
    QString lastShown_;
};

}  // namespace app::scripting
