#pragma once
// What the open window shows, for scripts that drive it as a user would: with
// --snapshot or --state, the window writes them when its standard input ends
// (the script closes the pipe), then closes.
#include "app/options.h"

#include <QObject>
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

private:
    void onInput();

    HeadlessRunner& writer_;
    Options options_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace app::scripting
