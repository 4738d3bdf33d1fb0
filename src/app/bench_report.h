#pragma once
// BenchReport: the virtual bench's true values for --state "bench" (what a
// reference meter would show on its circuit, RMS over the last second, and its
// settings). Owned by the window while the bench is the sound card.
#include <QJsonObject>
#include <QObject>
#include <memory>

namespace platform::wave {
class BenchDriver;
}

namespace app {

class TForm1;

class BenchReport : public QObject {
    Q_OBJECT
public:
    BenchReport(TForm1& form, std::shared_ptr<platform::wave::BenchDriver> bench);
    // The window's report, or nullptr when the bench is not in use.
    static const BenchReport* of(const TForm1& form);

    // SourceMillivolts, LoadMillivolts, CurrentMilliamps, LoadOhms, InputGain, OutputGain.
    QJsonObject stateJson() const;

private:
    std::shared_ptr<platform::wave::BenchDriver> bench_;
};

}  // namespace app
