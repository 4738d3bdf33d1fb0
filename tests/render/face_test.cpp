#include "render/background.h"
#include "render/canvas.h"
#include "render/face.h"
#include "render/fonts.h"
#include "test_images.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace render {
namespace {

using testing::imageHeight;
using testing::isBlack;
using testing::kImageWidth;
using testing::px;
using testing::rgb;

constexpr FaceId kTopFaces[] = {FaceId::Ammeter30A, FaceId::Voltmeter30V, FaceId::Source30V};

class Face : public ::testing::Test {
protected:
    void SetUp() override { registerFontSubstitutions(); }

    static Canvas withBackground(Instrument i) {
        Canvas c(kImageWidth, imageHeight(i));
        drawInstrumentBackground(c, i);
        return c;
    }
};

TEST_F(Face, TableHoldsSeventeenFacesInRangeOrder) {
    EXPECT_EQ(faceDesign(FaceId::Ammeter10mA).name, "DrawAmmeterFace10mA");
    EXPECT_EQ(faceDesign(FaceId::Ammeter30A).name, "DrawAmmeterFace30A");
    EXPECT_EQ(faceDesign(FaceId::Voltmeter300mV).name, "DrawVoltmeterFace300mV");
    EXPECT_EQ(faceDesign(FaceId::Source30V).name, "DrawSourceFace30V");
    for (int f = 0; f < kFaceCount; ++f) {
        const FaceDesign& d = faceDesign(static_cast<FaceId>(f));
        EXPECT_EQ(d.instrument, f < 7 ? Instrument::Ammeter : f < 12 ? Instrument::Voltmeter : Instrument::Source);
        // Every layout starts at x = 50 and ends at 750 (ten divisions) or 740 (three).
        const TickSet& last = d.ticks.back();
        const int end = tickX(last, last.count - 1);
        EXPECT_EQ(end, d.ticks.size() == 2 ? 750 : 740) << d.name;
        for (const TickSet& set : d.ticks)
            EXPECT_EQ(tickX(set, set.count - 1), end) << d.name;
    }
}

TEST_F(Face, Ammeter300mAHasItsBandAndTicksWhereDesigned) {
    Canvas c = withBackground(Instrument::Ammeter);
    const QImage before = c.image();
    drawFace(c, FaceId::Ammeter300mA);
    EXPECT_EQ(px(c, 400, 20), rgb(255, 255, 0));
    for (int y = 85; y <= 127; ++y)
        EXPECT_TRUE(isBlack(c, 510, y)) << y;
    EXPECT_TRUE(isBlack(c, 740, 127));  // last tick of three divisions
    EXPECT_FALSE(isBlack(c, 750, 127));
    // Neither the edge strip nor the rule and the pointer band are touched.
    for (int y : {0, 8, 131, 132, 140, 164})
        for (int x = 0; x < kImageWidth; ++x)
            ASSERT_EQ(c.image().pixel(x, y), before.pixel(x, y)) << x << "," << y;
    EXPECT_EQ(c.penWidth(), 3);
    EXPECT_TRUE(c.brushClear());
    EXPECT_EQ(c.fontName(), QStringLiteral("Arial Narow CE"));

    // Its decimal numerals: see tests/app/window/face_numerals_test.cpp.
}

TEST_F(Face, AnOrdinaryFaceReplacesAnyOtherOrdinaryFaceWhole) {
    const FaceId faces[] = {FaceId::Voltmeter300mV, FaceId::Voltmeter1V, FaceId::Voltmeter3V, FaceId::Voltmeter10V};
    for (FaceId previous : faces)
        for (FaceId next : faces) {
            Canvas direct = withBackground(Instrument::Voltmeter);
            drawFace(direct, next);
            Canvas over = withBackground(Instrument::Voltmeter);
            drawFace(over, previous);
            drawFace(over, next);
            EXPECT_EQ(over.image(), direct.image()) << faceDesign(previous).name << " then " << faceDesign(next).name;
        }
    // The voltmeter's and the source's designs are the same: same black pixels.
    Canvas v = withBackground(Instrument::Voltmeter);
    Canvas s = withBackground(Instrument::Source);
    drawFace(v, FaceId::Voltmeter1V);
    drawFace(s, FaceId::Source1V);
    for (int y = 0; y < 165; ++y)
        for (int x = 0; x < kImageWidth; ++x)
            ASSERT_EQ(isBlack(v, x, y), isBlack(s, x, y)) << x << "," << y;
}

TEST_F(Face, TallFacesReachDownToRow148AndStayBelowALaterOrdinaryFace) {
    Canvas c = withBackground(Instrument::Ammeter);
    drawFace(c, FaceId::Ammeter3A);
    EXPECT_EQ(px(c, 400, 131), rgb(255, 255, 0));  // over the rule
    EXPECT_EQ(px(c, 400, 148), rgb(255, 255, 0));
    EXPECT_EQ(px(c, 400, 152), rgb(240, 240, 0));  // pointer band below
    for (int y = 130; y <= 147; ++y)
        EXPECT_TRUE(isBlack(c, 73, y)) << y;
    drawFace(c, FaceId::Ammeter10mA);
    EXPECT_EQ(px(c, 400, 140), rgb(255, 255, 0));
    EXPECT_TRUE(isBlack(c, 73, 140));
}

TEST_F(Face, TopRangeFacesShowTheirNumeralsInTheirOwnTint) {
    for (FaceId f : kTopFaces) {
        const FaceDesign& d = faceDesign(f);
        Canvas c = withBackground(d.instrument);
        const QImage before = c.image();
        drawFace(c, f);
        // The band in the instrument's own tint at full brightness in the middle.
        const Instrument i = d.instrument;
        const QRgb white = i == Instrument::Ammeter ? rgb(255, 255, 0)
                                                    : i == Instrument::Voltmeter ? rgb(0, 255, 255) : rgb(255, 255, 255);
        EXPECT_EQ(px(c, 400, 60), white) << d.name;
        // Ticks hang from the top edge; the major tick at x = 510 reaches row 54.
        EXPECT_TRUE(isBlack(c, 510, 0)) << d.name;
        EXPECT_TRUE(isBlack(c, 510, 54)) << d.name;
        EXPECT_FALSE(isBlack(c, 510, 60)) << d.name;
        // Every numeral's ink lies where ordinary faces repaint (rows 9..129)
        // and the pointer never reaches (rows 134 and below).
        int inkTop = 1000, inkBottom = -1;
        for (int y = 0; y < c.height(); ++y)
            for (int x = 0; x < kImageWidth; ++x)
                if (isBlack(c, x, y) && y > 60) {
                    inkTop = std::min(inkTop, y);
                    inkBottom = std::max(inkBottom, y);
                }
        EXPECT_GE(inkTop, 9) << d.name;
        EXPECT_LE(inkBottom, 129) << d.name;
        EXPECT_GT(inkBottom, 120) << d.name;  // the numerals are there
        // Below the band (T + 148, one row of pen end) nothing changes.
        for (int x = 0; x < kImageWidth; ++x)
            ASSERT_EQ(c.image().pixel(x, kTopFaceRow + 150), before.pixel(x, kTopFaceRow + 150)) << x;
    }
}

}  // namespace
}  // namespace render
