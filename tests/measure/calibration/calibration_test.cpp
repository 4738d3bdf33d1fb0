// Calibration factors: the solved factor makes the instrument read the true
// value (the voltmeter's offset included), a factor of exactly 1 changes no
// bit, the refusals, and the history the mean is taken over.
#include "measure/reference/buffer_filled.h"
#include "measure/calibration/calibration.h"
#include "measure/reference/channel_measurement.h"
#include "measure/reference/range_pass.h"
#include "measure/calibration/reading_history.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace measure {
namespace {

// A block of 2500 stereo frames: sines of the given peaks, 53 Hz.
void recordSines(MeasurementState& state, double leftPeak, double rightPeak) {
    std::vector<char> bytes;
    for (int i = 0; i < 2500; ++i) {
        const double s = std::sin(2 * M_PI * 53 * i / 44100.0);
        for (const double peak : {leftPeak, rightPeak}) {
            const auto u = static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(peak * s)));
            bytes.push_back(static_cast<char>(u & 0xFF));
            bytes.push_back(static_cast<char>(u >> 8));
        }
    }
    std::int32_t size = static_cast<std::int32_t>(bytes.size());
    AudioIn1BufferFilled(state, bytes.data(), size);
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(Calibration, SolvedFactorsMakeTheInstrumentsReadTheTrueValue) {
    auto state = std::make_unique<MeasurementState>();
    recordSines(*state, 3000, 900);
    MeasureCurrent(*state, 10000);
    MeasureVoltage(*state, 10000);
    const double currentRms = state->CurrentRms;
    const double voltageRms = state->VoltageRms;
    ASSERT_GT(currentRms, 0);

    const GainSolution ammeter = solveAmmeterGain(currentRms, state->AmmeterValue, 50.0);
    // The voltmeter's 80 / 24 mV offset is part of its formula: a factor that
    // ignored it would read 3.3 mV low.
    const GainSolution voltmeter = solveVoltmeterGain(voltageRms, state->VoltmeterValue, 1500.0);
    ASSERT_EQ(ammeter.refusal, CalibrationRefusal::None);
    ASSERT_EQ(voltmeter.refusal, CalibrationRefusal::None);

    state->Calibration = CalibrationFactors{ammeter.gain, voltmeter.gain, 1.0};
    recordSines(*state, 3000, 900);
    MeasureCurrent(*state, 10000);
    MeasureVoltage(*state, 10000);
    EXPECT_NEAR(state->AmmeterValue, 50.0, 0.01);
    EXPECT_NEAR(state->VoltmeterValue, 1500.0, 0.1);
    EXPECT_EQ(state->CurrentRms, currentRms);  // r is kept before the factor
    // Twice the signal reads about twice as much (the filter's truncation aside).
    recordSines(*state, 6000, 1800);
    MeasureCurrent(*state, 10000);
    MeasureVoltage(*state, 10000);
    EXPECT_NEAR(state->AmmeterValue, 100.0, 0.3);
    EXPECT_NEAR(state->VoltmeterValue, 3003.3, 6);
}

TEST(Calibration, FactorsOfOneChangeNoBitOfTheReadings) {
    auto plain = std::make_unique<MeasurementState>();
    auto ones = std::make_unique<MeasurementState>();
    ones->Calibration = CalibrationFactors{};
    for (const double peak : {1.0, 37.0, 1234.0, 32767.0}) {
        recordSines(*plain, peak, peak / 3);
        recordSines(*ones, peak, peak / 3);
        EXPECT_EQ(MeasureCurrent(*plain, 10000), MeasureCurrent(*ones, 10000));
        EXPECT_EQ(MeasureVoltage(*plain, 10000), MeasureVoltage(*ones, 10000));
        EXPECT_TRUE(sameBits(plain->AmmeterValue, ones->AmmeterValue)) << peak;
        EXPECT_TRUE(sameBits(plain->VoltmeterValue, ones->VoltmeterValue)) << peak;
    }
}

TEST(Calibration, SourceShowsTheCalibratedVoltageOnlyWithAProfile) {
    auto state = std::make_unique<MeasurementState>();
    state->GeneratorAmplitude = 14000;
    SourcePass(*state, {});
    EXPECT_EQ(state->SourceValue, 2000.0);  // the reference pointer scale: amplitude / 7
    state->Calibration = CalibrationFactors{1, 1, 1.6};
    SourcePass(*state, {});
    EXPECT_NEAR(state->SourceValue, 14000 * 1.6 * 3.5 / 22, 1e-9);  // 3563.6 mV
    EXPECT_EQ(state->SourceFaceFlags[3], 1);                         // the 10 V range

    const GainSolution source = solveSourceGain(14000, 3563.6363636);
    ASSERT_EQ(source.refusal, CalibrationRefusal::None);
    EXPECT_NEAR(source.gain, 1.6, 1e-9);
}

TEST(Calibration, RefusesWhatCannotBeTrue) {
    EXPECT_EQ(solveAmmeterGain(100, 1.42, 0).refusal, CalibrationRefusal::TrueValueNotPositive);
    EXPECT_EQ(solveAmmeterGain(100, 1.42, -5).refusal, CalibrationRefusal::TrueValueNotPositive);
    EXPECT_EQ(solveVoltmeterGain(100, 150, std::nan("")).refusal, CalibrationRefusal::TrueValueNotPositive);
    EXPECT_EQ(solveSourceGain(7000, 0).refusal, CalibrationRefusal::TrueValueNotPositive);
    EXPECT_EQ(solveAmmeterGain(0, 0, 10).refusal, CalibrationRefusal::NoReading);
    EXPECT_EQ(solveVoltmeterGain(0, 0, 1000).refusal, CalibrationRefusal::NoReading);
    EXPECT_EQ(solveSourceGain(0, 1000).refusal, CalibrationRefusal::NoAmplitude);
    // r = 100 reads 1.42 mA: 200 mA would need a factor of 140.8, 0.01 mA one of 0.007.
    const GainSolution high = solveAmmeterGain(100, 1.42, 200);
    EXPECT_EQ(high.refusal, CalibrationRefusal::GainOutOfRange);
    EXPECT_NEAR(high.gain, 140.845, 0.001);
    EXPECT_EQ(solveAmmeterGain(100, 1.42, 0.01).refusal, CalibrationRefusal::GainOutOfRange);
    EXPECT_EQ(solveAmmeterGain(100, 1.42, 142).refusal, CalibrationRefusal::None);  // exactly 100
    EXPECT_EQ(solveSourceGain(1, 1e6).refusal, CalibrationRefusal::GainOutOfRange);
}

TEST(ReadingHistory, MeansTheMeasuredBlocksOfTheLastTwoSeconds) {
    ReadingHistory history;
    history.measured(Instrument::Ammeter, 5, 5);  // nothing recorded yet: ignored
    EXPECT_EQ(history.mean(Instrument::Ammeter).blocks, 0);

    const double block = 2500.0 / 44100;  // 56.7 ms
    for (int i = 0; i < 100; ++i) {
        history.blockRecorded(block);
        // A block measured by several passes counts once, with its last pass.
        history.measured(Instrument::Ammeter, 1000.0 + i, 2 * (1000.0 + i));
        history.measured(Instrument::Ammeter, i, 2.0 * i);
    }
    history.blockRecorded(block);  // recorded, not yet measured
    history.measured(Instrument::Voltmeter, 7, 8);

    // The blocks that end within 2 s of the newest one: 36, of which the
    // newest is not measured yet, so blocks 65 .. 99 count.
    const ReadingHistory::Mean ammeter = history.mean(Instrument::Ammeter);
    EXPECT_EQ(ammeter.blocks, 35);
    EXPECT_DOUBLE_EQ(ammeter.rms, (65 + 99) / 2.0);
    EXPECT_DOUBLE_EQ(ammeter.reading, 65 + 99);
    const ReadingHistory::Mean voltmeter = history.mean(Instrument::Voltmeter);
    EXPECT_EQ(voltmeter.blocks, 1);
    EXPECT_EQ(voltmeter.reading, 8);
    EXPECT_EQ(history.mean(Instrument::Source).blocks, 0);
}

}  // namespace
}  // namespace measure
