// The waveforms' title against the live values' phase on generated signals:
// the same number to its digits, in words with a dead band, and why there is
// none when a channel carries no signal.
#include "lab/record/lab_point.h"
#include "lab/phase_words.h"
#include "support/line_signals.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace lab {
namespace {

using testsupport::kFullScale;
using testsupport::LineRecording;
using testsupport::LineSignal;
using testsupport::sineWave;
using testsupport::withNoise;

constexpr double kMilliampsPerSample = 0.01;
constexpr double kMillivoltsPerSample = 1.0;

// The title and the point the live values show, after one more block.
struct Shown {
    QString title;
    LabPoint point;
};
Shown shown(LineRecording& rec) {
    const measure::CircuitReading& r = rec.block();
    const measure::CircuitValues v = measure::circuitValues(r, kMilliampsPerSample, kMillivoltsPerSample);
    return {phaseWords(r, v), pointOf(0, v)};
}

QString digits(double v) { return QLocale(QLocale::Czech).toString(v, 'f', kShownPhaseDecimals); }

TEST(PhaseWords, TheTitleStatesTheLiveValuesPhase) {
    const double noise = 0.0005 * kFullScale;
    const LineSignal distorted = [](double t) {
        const double w = 2 * std::numbers::pi * 50 * t;
        return 8000 * std::sin(w) + 3000 * std::sin(3 * w + 1) + 1500 * std::sin(5 * w + 2);
    };
    struct Case {
        const char* what;
        LineSignal current, voltage;
        const char* words;
    };
    const Case cases[] = {
        {"0.5 % in phase", withNoise(sineWave(0.005 * kFullScale, 50), noise, 1),
         withNoise(sineWave(0.005 * kFullScale, 50), noise, 2), "Proud a napětí jsou ve fázi (φ = "},
        {"1 %, the voltage lagging", withNoise(sineWave(0.01 * kFullScale, 20), noise, 3),
         withNoise(sineWave(0.01 * kFullScale, 20, -82.8), noise, 4), "Proud předbíhá napětí o "},
        {"a distorted current", distorted, sineWave(20000, 50, 30), "Napětí předbíhá proud o "},
    };
    for (const Case& c : cases) {
        measure::TrueRmsMeter meter;
        LineRecording rec(meter, c.current, c.voltage);
        rec.warmUp();
        for (int block = 0; block < 10; ++block) {
            const Shown s = shown(rec);
            const double phase = s.point[Quantity::Phase];
            ASSERT_TRUE(std::isfinite(phase)) << c.what;
            EXPECT_TRUE(s.title.contains(QString::fromUtf8(c.words))) << c.what << ": " << s.title.toStdString();
            const QString number = s.title.contains(QStringLiteral("ve fázi")) ? digits(phase) : digits(std::fabs(phase));
            EXPECT_TRUE(s.title.endsWith(number + QStringLiteral("°")) || s.title.endsWith(number + QStringLiteral("°)")))
                << c.what << ": " << s.title.toStdString() << " beside " << phase;
        }
    }

    // The dead band is on the digits shown.
    measure::CircuitReading r;
    r.current.signal = r.voltage.signal = true;
    measure::CircuitValues v;
    v.phaseDegrees = 0.449;
    EXPECT_EQ(phaseWords(r, v), QStringLiteral("Proud a napětí jsou ve fázi (φ = 0,4°)"));
    v.phaseDegrees = -0.46;
    EXPECT_EQ(phaseWords(r, v), QStringLiteral("Proud předbíhá napětí o 0,5°"));
    v.phaseDegrees.reset();  // an open circuit
    EXPECT_EQ(phaseWords(r, v), QStringLiteral("Zátěží neteče žádný proud"));
}

TEST(PhaseWords, WithoutASignalTheTitleSaysSoAndThePointHasNoNumbers) {
    const double noise = 0.0005 * kFullScale;
    const LineSignal silence = [](double) { return 0.0; };
    const struct {
        LineSignal current, voltage;
        const char* title;
    } cases[] = {{withNoise(silence, noise, 7), withNoise(silence, noise, 8), "Žádný signál"},
                 {[](double) { return 9000.0; }, [](double) { return 9000.0; }, "Žádný signál"},
                 {silence, silence, "Žádný signál"},
                 {withNoise(silence, noise, 9), sineWave(9000, 50), "Žádný signál proudu"},
                 {sineWave(9000, 50), silence, "Žádný signál napětí"}};
    for (const auto& c : cases) {
        measure::TrueRmsMeter meter;
        LineRecording rec(meter, c.current, c.voltage);
        rec.warmUp();
        const Shown s = shown(rec);
        EXPECT_EQ(s.title, QString::fromUtf8(c.title));
        for (const Quantity q : {Quantity::Phase, Quantity::Impedance, Quantity::PowerFactor})
            EXPECT_TRUE(std::isnan(s.point[q])) << c.title << " " << keyOf(q).toStdString();
        if (s.title == QStringLiteral("Žádný signál")) {
            EXPECT_TRUE(std::isnan(s.point[Quantity::Frequency]));
        }
    }
}

}  // namespace
}  // namespace lab
