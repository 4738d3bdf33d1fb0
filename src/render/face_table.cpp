#include "render/face_table.h"

#include <array>

namespace render {

namespace {

constexpr int kMinorWidth = 5;
constexpr int kMajorWidth = 8;

// Tick layouts. Ten divisions run from x = 50 to 750 (steps of 35 and 70),
// three divisions from x = 50 to 740 (steps of 23, 115 and 230).
constexpr TickSet kTenOrdinary[] = {
    {21, 35, 100, 127, kMinorWidth},
    {11, 70, 85, 127, kMajorWidth},
};
constexpr TickSet kTenOrdinaryLowMajor[] = {
    {21, 35, 100, 127, kMinorWidth},
    {11, 70, 90, 127, kMajorWidth},
};
constexpr TickSet kTenTall[] = {
    {21, 35, 130, 147, kMinorWidth},
    {11, 70, 100, 147, kMajorWidth},
};
constexpr TickSet kThreeOrdinary[] = {
    {31, 23, 100, 127, kMinorWidth},
    {7, 115, 90, 127, kMajorWidth},
    {4, 230, 85, 127, kMajorWidth},
};
constexpr TickSet kThreeTall[] = {
    {31, 23, 130, 147, kMinorWidth},
    {7, 115, 120, 147, kMajorWidth},
    {4, 230, 100, 147, kMajorWidth},
};
constexpr int T = kTopFaceRow;
constexpr TickSet kThreeTop[] = {
    {31, 23, T + 3, T + 30, kMinorWidth},
    {7, 115, T + 3, T + 40, kMajorWidth},
    {4, 230, T + 3, T + 60, kMajorWidth},
};

constexpr BandRows kOrdinaryBand{10, 128};
constexpr BandRows kTallBand{10, 148};
constexpr BandRows kTopBand{T, kRuleRows.bottom};
constexpr BandRows kTopPointerBand{kPointerBandRows.top, 148};

// Numerals (see "A decimal numeral" in face_table.h); a final "10" is a "1"
// and a "0" 35 px apart. In the face font a digit is 36 px wide and the point
// 18 px: a decimal numeral starts 9 px left of where its two digits alone
// would.
constexpr Numeral kZeroToTen[] = {
    {"2", 160, 0}, {"4", 297, 0}, {"6", 451, 0}, {"8", 585, 0}, {"0", 22, 0}, {"1", 705, 0}, {"0", 740, 0},
};
constexpr Numeral kZeroToThirty[] = {
    {"0", 22, 0}, {"10", 220, 0}, {"20", 450, 0}, {"30", 675, 0},
};
constexpr Numeral kZeroToPoint3[] = {
    {"0", 22, 0}, {"0.1", 223, 0}, {"0.2", 454, 0}, {"0.3", 681, 0},
};
// "0.6" keeps its left edge: 9 px further left its "0" would lie under the
// unit box.
constexpr Numeral kAmmeterZeroToOne[] = {
    {"0", 22, 0}, {"0.4", 238, 0}, {"0.6", 447, 0}, {"1", 720, 0},
};
constexpr Numeral kVoltmeterZeroToOne[] = {
    {"0", 22, 0}, {"0.3", 202, 0}, {"0.7", 481, 0}, {"1", 722, 0},
};
constexpr Numeral kZeroToThree[] = {
    {"0", 22, 0}, {"1", 250, 0}, {"2", 487, 0}, {"3", 715, 0},
};
constexpr Numeral kTopZeroToThirty[] = {
    {"0", 22, T + 55},  {"10", 220, T + 55}, {"20", 455, T + 55}, {"30", 680, T + 55},
    {".", 266, T + 55}, {".", 496, T + 55},  {".", 727, T + 55},
};

constexpr FaceDesign ordinary(std::string_view name, measure::Instrument instrument, std::span<const TickSet> ticks,
                              std::span<const Numeral> numerals, std::string_view unit) {
    return {name, instrument, kOrdinaryBand, std::nullopt, ticks, 60, numerals, unit};
}
constexpr FaceDesign tall(std::string_view name, measure::Instrument instrument, std::span<const TickSet> ticks,
                          std::span<const Numeral> numerals, std::string_view unit) {
    return {name, instrument, kTallBand, std::nullopt, ticks, 65, numerals, unit};
}
constexpr FaceDesign top(std::string_view name, measure::Instrument instrument, std::string_view unit) {
    return {name, instrument, kTopBand, std::nullopt, kThreeTop, 65, kTopZeroToThirty, unit, kTopPointerBand};
}

constexpr measure::Instrument A = measure::Instrument::Ammeter;
constexpr measure::Instrument V = measure::Instrument::Voltmeter;
constexpr measure::Instrument S = measure::Instrument::Source;

// Indexed by FaceId.
constexpr std::array<FaceDesign, kFaceCount> kFaces = {
    ordinary("DrawAmmeterFace10mA", A, kTenOrdinary, kZeroToTen, "mA"),
    ordinary("DrawAmmeterFace30mA", A, kThreeOrdinary, kZeroToThirty, "mA"),
    ordinary("DrawAmmeterFace300mA", A, kThreeOrdinary, kZeroToPoint3, "A"),
    ordinary("DrawAmmeterFace1A", A, kTenOrdinaryLowMajor, kAmmeterZeroToOne, "A"),
    tall("DrawAmmeterFace3A", A, kThreeTall, kZeroToThree, "A"),
    tall("DrawAmmeterFace10A", A, kTenTall, kZeroToTen, "A"),
    top("DrawAmmeterFace30A", A, "A"),
    ordinary("DrawVoltmeterFace300mV", V, kThreeOrdinary, kZeroToPoint3, "V"),
    ordinary("DrawVoltmeterFace1V", V, kTenOrdinary, kVoltmeterZeroToOne, "V"),
    ordinary("DrawVoltmeterFace3V", V, kThreeOrdinary, kZeroToThree, "V"),
    ordinary("DrawVoltmeterFace10V", V, kTenOrdinary, kZeroToTen, "V"),
    top("DrawVoltmeterFace30V", V, "V"),
    ordinary("DrawSourceFace300mV", S, kThreeOrdinary, kZeroToPoint3, "V"),
    ordinary("DrawSourceFace1V", S, kTenOrdinary, kVoltmeterZeroToOne, "V"),
    ordinary("DrawSourceFace3V", S, kThreeOrdinary, kZeroToThree, "V"),
    ordinary("DrawSourceFace10V", S, kTenOrdinary, kZeroToTen, "V"),
    top("DrawSourceFace30V", S, "V"),
};

}  // namespace

const FaceDesign& faceDesign(FaceId face) {
    return kFaces.at(static_cast<std::size_t>(face));
}

}  // namespace render
