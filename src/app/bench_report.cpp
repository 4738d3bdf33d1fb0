#include "app/bench_report.h"

#include "app/form.h"
#include "platform/wave/bench_driver.h"

namespace app {

BenchReport::BenchReport(TForm1& form, std::shared_ptr<platform::wave::BenchDriver> bench)
    : QObject(&form), bench_(std::move(bench)) {
    setObjectName(QStringLiteral("benchReport"));
}

const BenchReport* BenchReport::of(const TForm1& form) {
    return form.findChild<const BenchReport*>(QStringLiteral("benchReport"), Qt::FindDirectChildrenOnly);
}

QJsonObject BenchReport::stateJson() const {
    const platform::wave::BenchReading truth = bench_->trueValues();
    const platform::wave::BenchConfig& config = bench_->config();
    return QJsonObject{{"SourceMillivolts", truth.sourceMillivolts},
                       {"LoadMillivolts", truth.loadMillivolts},
                       {"CurrentMilliamps", truth.currentMilliamps},
                       {"LoadOhms", config.loadOhms},
                       {"InputGain", config.lineInputGain},
                       {"OutputGain", config.lineOutputGain}};
}

}  // namespace app
