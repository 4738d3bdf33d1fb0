#include "render/background.h"

#include "render/band_layout.h"
#include "render/canvas.h"
#include "render/tint.h"

namespace render {

namespace {
constexpr int kBandPenWidth = 3;
constexpr BandRows kSourceEdgeStripRows{1, 8};
constexpr BandRows kAmplitudeStripRows{0, 20};
}  // namespace

void drawInstrumentBackground(Canvas& image, measure::Instrument instrument) {
    const Tint tint = tintOf(instrument);
    image.setPenWidth(kBandPenWidth);
    drawRamp(image, Tint::Grey, kEdgeStripRamp, kEdgeStripRows);
    drawRamp(image, tint, kFaceRamp, kFaceBandRows);
    drawRamp(image, Tint::Grey, kRuleRamp, kRuleRows);
    image.setPenWidth(kBandPenWidth);
    drawRamp(image, tint, kPointerRamp, kPointerBandRows);
}

void drawSourceEdgeStrip(Canvas& image4) {
    image4.setPenWidth(kBandPenWidth);
    drawRamp(image4, Tint::Grey, kEdgeStripRamp, kSourceEdgeStripRows);
}

void drawSourceBackground(Canvas& image2, Canvas& image4) {
    drawInstrumentBackground(image2, measure::Instrument::Source);
    drawSourceEdgeStrip(image4);
}

void drawAmplitudeStrip(Canvas& image5) {
    image5.setPenWidth(kBandPenWidth);
    drawRamp(image5, Tint::Grey, kEdgeStripRamp, kAmplitudeStripRows);
}

}  // namespace render
