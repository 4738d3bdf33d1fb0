#include "measure/reference/range_pass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace measure {
namespace {

// Records what a pass asks to draw. The pointer routine behaves as the
// window's does: it draws only when the position differs from the last drawn.
struct DrawLog {
    std::vector<int> faces;
    std::vector<int> pointers;

    InstrumentDrawing drawing(MeasurementState& state, Instrument instrument) {
        return {[this](int range) { faces.push_back(range); },
                [this, &state, instrument] {
                    const InstrumentFields f = instrumentFields(state, instrument);
                    if (f.pointerX != f.pointerDrawnX) pointers.push_back(f.pointerX);
                }};
    }
    void clear() { faces.clear(); pointers.clear(); }
};

int chosenRange(std::span<const std::int32_t> flags) {
    int chosen = -1;
    for (std::size_t i = 0; i < flags.size(); ++i) {
        if (flags[i] != 0) {
            EXPECT_EQ(chosen, -1) << "two flags set";
            chosen = static_cast<int>(i);
        }
    }
    return chosen;
}

TEST(InstrumentRanges, BoundsBelongToTheUpperRange) {
    struct Case { Instrument instrument; double reading; int range; int x; };
    const Case cases[] = {
        {Instrument::Ammeter, 0, 0, 50},
        {Instrument::Ammeter, std::nextafter(10.0, 0.0), 0, 750},
        {Instrument::Ammeter, 10, 1, 283},
        {Instrument::Ammeter, 30, 2, 120},
        {Instrument::Ammeter, 299.9, 2, 750},
        {Instrument::Ammeter, 300, 3, 260},
        {Instrument::Ammeter, 1000, 4, 283},
        {Instrument::Ammeter, 3000, 5, 260},
        {Instrument::Ammeter, 10000, 6, 283},
        {Instrument::Ammeter, 46500, 6, 1135},  // past full scale: not bounded
        {Instrument::Voltmeter, 0, 0, 50},
        {Instrument::Voltmeter, 299.9, 0, 750},
        {Instrument::Voltmeter, 300, 1, 260},   // on the face's 0.3 V mark
        {Instrument::Voltmeter, 500, 1, 400},   // 400.5, half to even; the 0.5 V mark
        {Instrument::Voltmeter, 999.9, 1, 751},
        {Instrument::Voltmeter, 1000, 2, 283},
        {Instrument::Voltmeter, 3000, 3, 260},
        {Instrument::Voltmeter, 10000, 4, 283},
        {Instrument::Source, 14.285714285714286, 0, 83},
        {Instrument::Source, 3200, 3, 274},
    };
    for (const Case& c : cases) {
        const int range = rangeOf(c.instrument, c.reading);
        EXPECT_EQ(range, c.range) << c.reading;
        EXPECT_EQ(pointerPosition(measuringRanges(c.instrument)[static_cast<std::size_t>(range)], c.reading), c.x)
            << c.reading;
    }
    EXPECT_EQ(rangeOf(Instrument::Voltmeter, std::nan("")), 4);
    EXPECT_EQ(pointerPosition(measuringRanges(Instrument::Voltmeter)[4], std::nan("")), 0);
    EXPECT_EQ(pointerPosition(measuringRanges(Instrument::Ammeter)[0], 1e300), INT32_MAX);
}

TEST(RangePass, FaceOnlyOnRangeChangePointerOnlyOnMove) {
    auto state = std::make_unique<MeasurementState>();
    DrawLog log;
    const InstrumentDrawing drawing = log.drawing(*state, Instrument::Ammeter);

    state->AmmeterValue = 5;
    AmmeterPass(*state, drawing);
    EXPECT_EQ(log.faces, std::vector<int>{0});
    EXPECT_EQ(log.pointers, std::vector<int>{400});
    EXPECT_EQ(state->AmmeterPointerDrawnX, 400);

    log.clear();
    AmmeterPass(*state, drawing);  // unchanged reading: nothing drawn
    state->AmmeterValue = 5.001;   // same pixel
    AmmeterPass(*state, drawing);
    EXPECT_TRUE(log.faces.empty());
    EXPECT_TRUE(log.pointers.empty());

    // Alternating across the 10 mA bound redraws both faces on every pass.
    for (int pass = 0; pass < 4; ++pass) {
        state->AmmeterValue = pass % 2 == 0 ? 10 : 9;
        AmmeterPass(*state, drawing);
    }
    EXPECT_EQ(log.faces, (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(log.pointers, (std::vector<int>{283, 680, 283, 680}));
    EXPECT_EQ(chosenRange(state->AmmeterFaceFlags), 0);
}

TEST(RangePass, DigitalDisplayDrawsNothingButKeepsTheMemoryCurrent) {
    auto state = std::make_unique<MeasurementState>();
    DrawLog log;
    const InstrumentDrawing drawing = log.drawing(*state, Instrument::Voltmeter);
    state->VoltmeterFaceFlags[5] = 1;  // the spare is cleared with the others
    state->VoltmeterAnalogOff = 1;
    for (const double mv : {100.0, 2000.0, 25000.0}) {
        state->VoltmeterValue = mv;
        VoltmeterPass(*state, drawing);
        EXPECT_EQ(chosenRange(state->VoltmeterFaceFlags), rangeOf(Instrument::Voltmeter, mv));
        EXPECT_EQ(state->VoltmeterPointerDrawnX, state->VoltmeterPointerX);
    }
    EXPECT_EQ(state->VoltmeterPointerX, 634);
    EXPECT_TRUE(log.faces.empty());
    EXPECT_TRUE(log.pointers.empty());

    // Back to analog with the memory kept: same range, nothing to draw.
    state->VoltmeterAnalogOff = 0;
    VoltmeterPass(*state, drawing);
    EXPECT_TRUE(log.faces.empty());
    // Back to analog after clearing memory and positions: face and pointer afresh.
    state->VoltmeterFaceFlags.fill(0);
    state->VoltmeterPointerX = state->VoltmeterPointerDrawnX = 0;
    VoltmeterPass(*state, drawing);
    EXPECT_EQ(log.faces, std::vector<int>{4});
    EXPECT_EQ(log.pointers, std::vector<int>{634});
}

TEST(RangePass, SourceFollowsTheGeneratorAmplitude) {
    auto state = std::make_unique<MeasurementState>();
    DrawLog log;
    const InstrumentDrawing drawing = log.drawing(*state, Instrument::Source);
    state->GeneratorAmplitude = 100;
    SourcePass(*state, drawing);
    EXPECT_EQ(state->SourceValue, 100.0 / 7);
    EXPECT_EQ(log.faces, std::vector<int>{0});
    EXPECT_EQ(state->SourcePointerX, 83);

    state->GeneratorAmplitude = 22400;
    SourcePass(*state, drawing);
    EXPECT_EQ(state->SourceValue, 3200.0);
    EXPECT_EQ(log.faces, (std::vector<int>{0, 3}));
    EXPECT_EQ(state->SourcePointerDrawnX, 274);
    EXPECT_EQ(chosenRange(state->SourceFaceFlags), 3);

    // Empty callbacks are allowed and draw nothing.
    state->GeneratorAmplitude = 0;
    SourcePass(*state, InstrumentDrawing{});
    EXPECT_EQ(state->SourcePointerDrawnX, 50);
    EXPECT_EQ(chosenRange(state->SourceFaceFlags), 0);
}

}  // namespace
}  // namespace measure
