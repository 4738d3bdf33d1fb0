#include "render/background.h"
#include "render/band_layout.h"
#include "render/canvas.h"
#include "render/face.h"
#include "render/fonts.h"
#include "render/pointer.h"
#include "test_images.h"

#include <gtest/gtest.h>

namespace render {
namespace {

using testing::imageHeight;
using testing::kImageWidth;
using testing::px;
using testing::rgb;

TEST(Ramp, LinesRunFromTheEndValueToTheCentreAndBack) {
    EXPECT_EQ(rampLine(kFaceRamp, Half::Left, 200).x, 400);
    EXPECT_EQ(rampLine(kFaceRamp, Half::Left, 200).value, 255);
    EXPECT_EQ(rampLine(kFaceRamp, Half::Right, 200).x, 800);
    EXPECT_EQ(rampLine(kFaceRamp, Half::Right, 200).value, 55);
    // The rule: round(0.6 j) on the left, 120 - round(0.6 j) on the right.
    const int expected[] = {0, 1, 1, 2, 2, 3};
    for (int j = 0; j < 6; ++j) {
        EXPECT_EQ(rampLine(kRuleRamp, Half::Left, j).value, expected[j]) << j;
        EXPECT_EQ(rampLine(kRuleRamp, Half::Right, j).value, 120 - expected[j]) << j;
    }
    EXPECT_EQ(rampLine(kRuleRamp, Half::Left, 100).value, 60);
}

TEST(Background, AmmeterBandsHaveTheirDocumentedColours) {
    Canvas c(kImageWidth, imageHeight(Instrument::Ammeter));
    drawInstrumentBackground(c, Instrument::Ammeter);
    for (int y = 10; y <= 128; ++y)
        EXPECT_EQ(px(c, 400, y), rgb(255, 255, 0)) << y;
    for (int y = 135; y <= 164; ++y)
        EXPECT_EQ(px(c, 400, y), rgb(240, 240, 0)) << y;
    for (int y : {131, 132}) {
        EXPECT_EQ(px(c, 0, y), rgb(0, 0, 0));
        EXPECT_EQ(px(c, 200, y), rgb(60, 60, 60));
        EXPECT_EQ(px(c, 400, y), rgb(120, 120, 120));
    }
    EXPECT_EQ(px(c, 0, 50), rgb(55, 55, 0));
    EXPECT_EQ(px(c, 799, 50), rgb(55, 55, 0));
    EXPECT_EQ(px(c, 401, 50), rgb(254, 254, 0));
    EXPECT_EQ(px(c, 400, 4), rgb(200, 200, 200));
    EXPECT_EQ(px(c, 0, 4), rgb(0, 0, 0));
    // The bands meet without a gap: no pixel keeps the blank bitmap's white.
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            ASSERT_NE(px(c, x, y), rgb(255, 255, 255)) << x << "," << y;
}

TEST(Background, VoltmeterAndSourceUseTheirTintAndSourceShowsFourMoreRows) {
    Canvas v(kImageWidth, imageHeight(Instrument::Voltmeter));
    drawInstrumentBackground(v, Instrument::Voltmeter);
    EXPECT_EQ(px(v, 0, 150), rgb(0, 40, 40));
    EXPECT_EQ(px(v, 400, 150), rgb(0, 240, 240));
    EXPECT_EQ(px(v, 400, 20), rgb(0, 255, 255));

    Canvas s(kImageWidth, imageHeight(Instrument::Source));
    Canvas strip(kImageWidth, 10);
    drawSourceBackground(s, strip);
    EXPECT_EQ(px(s, 400, 168), rgb(240, 240, 240));
    EXPECT_EQ(px(s, 400, 20), rgb(255, 255, 255));  // the face band's centre is white
    EXPECT_EQ(px(strip, 400, 0), rgb(200, 200, 200));
    EXPECT_EQ(px(strip, 400, 9), rgb(200, 200, 200));
    EXPECT_EQ(px(strip, 200, 5), rgb(100, 100, 100));

    Canvas amplitude(kImageWidth, 20);
    drawAmplitudeStrip(amplitude);
    for (int y = 0; y < 20; ++y) {
        EXPECT_EQ(px(amplitude, 0, y), rgb(0, 0, 0));
        EXPECT_EQ(px(amplitude, 600, y), rgb(100, 100, 100));
    }
}

TEST(Background, WipesFaceAndPointerAndIsRepeatableToTheByte) {
    registerFontSubstitutions();
    Canvas fresh(kImageWidth, 165);
    drawInstrumentBackground(fresh, Instrument::Ammeter);
    Canvas used(kImageWidth, 165);
    drawInstrumentBackground(used, Instrument::Ammeter);
    drawFace(used, FaceId::Ammeter10A);
    std::int32_t drawn = 0;
    drawPointer(used, Instrument::Ammeter, 600, drawn);
    ASSERT_NE(used.image(), fresh.image());
    drawInstrumentBackground(used, Instrument::Ammeter);
    EXPECT_EQ(used.image(), fresh.image());
    EXPECT_EQ(drawn, 600);  // the pointer state is not the background's business
}

}  // namespace
}  // namespace render
