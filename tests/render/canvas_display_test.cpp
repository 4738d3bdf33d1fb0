// The canvas's rendering at a screen's resolution: the same drawing as the
// bitmap, sharp at any scale, drawn again when the scale changes, and never
// touching the bitmap itself.
#include "render/background.h"
#include "render/canvas.h"
#include "render/face.h"
#include "render/fonts.h"
#include "render/pointer.h"
#include "test_images.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace render {
namespace {

using testing::kImageWidth;

int channelsApart(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

class CanvasDisplay : public ::testing::Test {
protected:
    static void SetUpTestSuite() { registerFontSubstitutions(); }
};

TEST_F(CanvasDisplay, ABackgroundAtAnyScaleHasTheBitmapsColourInsideEveryPixel) {
    for (double scale : {2.0, 1.5, 2.37}) {
        Canvas c(kImageWidth, 165);
        c.setDisplayScale(scale, scale);
        drawInstrumentBackground(c, Instrument::Voltmeter);
        const QImage& d = c.displayImage();
        ASSERT_EQ(d.width(), static_cast<int>(std::ceil(kImageWidth * scale)));
        ASSERT_EQ(d.height(), static_cast<int>(std::ceil(165 * scale)));
        // The band lines are 3 px wide on whole pixels: the display shows
        // each design pixel's colour over the middle of its area.
        for (int y = 0; y < 165; ++y)
            for (int x = 0; x < kImageWidth; ++x) {
                const QRgb shown = d.pixel(static_cast<int>((x + 0.5) * scale), static_cast<int>((y + 0.5) * scale));
                ASSERT_EQ(shown & 0xFFFFFFu, c.image().pixel(x, y) & 0xFFFFFFu) << scale << " at " << x << "," << y;
            }
    }
}

TEST_F(CanvasDisplay, TheBitmapStaysByteForByteWhatItIsWithoutADisplay) {
    Canvas plain(kImageWidth, 169);
    Canvas scaled(kImageWidth, 169);
    scaled.setRecording(true);
    scaled.setDisplayScale(1.75, 2.25);
    for (Canvas* c : {&plain, &scaled}) {
        c->beginLayer(Canvas::Layer::Background);
        drawInstrumentBackground(*c, Instrument::Source);
        c->beginLayer(Canvas::Layer::Face);
        drawFace(*c, FaceId::Source300mV);
        std::int32_t drawn = 0;
        for (std::int32_t p : {120, 377, 401, 640}) {
            c->beginLayer(Canvas::Layer::Pointer);
            drawPointer(*c, Instrument::Source, p, drawn);
        }
    }
    EXPECT_EQ(scaled.image(), plain.image());
}

TEST_F(CanvasDisplay, ANewScaleDrawsTheSameThingsAgainAndKeepsNoMoreThanOnePointer) {
    Canvas c(kImageWidth, 165);
    c.setRecording(true);
    c.setDisplayScale(2.0, 2.0);
    c.beginLayer(Canvas::Layer::Background);
    drawInstrumentBackground(c, Instrument::Ammeter);
    c.beginLayer(Canvas::Layer::Face);
    drawFace(c, FaceId::Ammeter3A);  // a tall face
    c.beginLayer(Canvas::Layer::Face);
    drawFace(c, FaceId::Ammeter10mA);  // and an ordinary one over it
    std::int32_t drawn = 0;
    c.beginLayer(Canvas::Layer::Pointer);
    drawPointer(c, Instrument::Ammeter, 300, drawn);
    const std::size_t afterOneMove = c.recordedOperations();
    for (int k = 0; k < 200; ++k) {
        c.beginLayer(Canvas::Layer::Pointer);
        drawPointer(c, Instrument::Ammeter, 300 + (k % 2) * 5, drawn);
    }
    EXPECT_LE(c.recordedOperations(), afterOneMove + 300);  // the last pointer only, not 200
    c.beginLayer(Canvas::Layer::Pointer);
    drawPointer(c, Instrument::Ammeter, 620, drawn);
    const QImage live = c.displayImage().copy();

    c.setDisplayScale(1.5, 1.5);
    EXPECT_EQ(c.displayImage().width(), 1200);
    c.setDisplayScale(2.0, 2.0);
    const QImage again = c.displayImage();
    ASSERT_EQ(again.size(), live.size());
    // Drawn again: the same, but for the step of shade by which the pointer's
    // erases left the band where it stood before, and the tall face's ends
    // below the ordinary face (a face forgets the faces before it).
    int apart = 0;
    for (int y = 0; y < again.height(); ++y)
        for (int x = 0; x < again.width(); ++x) {
            const int d = channelsApart(again.pixel(x, y), live.pixel(x, y));
            if (d > 2) ++apart;
            if (y < 2 * 129) {
                ASSERT_EQ(d, 0) << x << "," << y;  // the ordinary face, to the pixel
            }
        }
    EXPECT_LT(apart, live.width() * 40);  // the tall face's band and ticks below row 129
    // The pointer is where it was last drawn, and only there.
    EXPECT_EQ(qRed(again.pixel(2 * 620, 2 * 150)), qRed(live.pixel(2 * 620, 2 * 150)));
    EXPECT_EQ(again.pixel(2 * 300, 2 * 150), live.pixel(2 * 300, 2 * 150));

    c.beginLayer(Canvas::Layer::Background);
    EXPECT_EQ(c.recordedOperations(), 0u);
    c.setDisplayScale(1.0, 1.0);
    EXPECT_TRUE(c.displayImage().isNull());
}

TEST_F(CanvasDisplay, APointerStandingBelowANewFaceIsStillThereAtANewScale) {
    Canvas c(kImageWidth, 165);
    c.setRecording(true);
    c.setDisplayScale(1.5, 1.5);
    c.beginLayer(Canvas::Layer::Background);
    drawInstrumentBackground(c, Instrument::Voltmeter);
    std::int32_t drawn = 0;
    c.beginLayer(Canvas::Layer::Pointer);
    drawPointer(c, Instrument::Voltmeter, 300, drawn);
    c.beginLayer(Canvas::Layer::Face);
    drawFace(c, FaceId::Voltmeter1V);
    const QImage before = c.displayImage().copy();
    c.setDisplayScale(2.5, 2.5);
    c.setDisplayScale(1.5, 1.5);
    EXPECT_EQ(c.displayImage(), before);
    EXPECT_GT(qRed(before.pixel(static_cast<int>(300 * 1.5), static_cast<int>(150 * 1.5))), 100);
}

TEST_F(CanvasDisplay, APointerMoveMarksOnlyThePointerBandToRepaint) {
    Canvas c(kImageWidth, 165);
    drawInstrumentBackground(c, Instrument::Ammeter);
    drawFace(c, FaceId::Ammeter10mA);
    EXPECT_EQ(c.takeDirtyRect(), QRect(0, 0, kImageWidth, 165));
    std::int32_t drawn = 300;
    drawPointer(c, Instrument::Ammeter, 310, drawn);
    const QRect moved = c.takeDirtyRect();
    EXPECT_GE(moved.top(), 130);
    EXPECT_GE(moved.left(), 250);   // the old pointer's erase from 256 on
    EXPECT_LE(moved.right(), 470);  // to the centre's repaint at 460
    EXPECT_TRUE(c.takeDirtyRect().isEmpty());
}

// A screen that copies only the rectangles handed out stays the bitmap's
// equal through faces and pointer moves, also where a move goes back to where
// the pointer stood; and a small move hands out little more than the two
// pointers (its ramp repaints end in the colours they found).
TEST_F(CanvasDisplay, TheScreenCopiedRectangleByRectangleIsTheBitmap) {
    Canvas c(kImageWidth, 165);
    QImage screen(kImageWidth, 165, QImage::Format_RGB32);
    auto show = [&] {
        const QRect r = c.takeDirtyRect();
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) screen.setPixel(x, y, c.image().pixel(x, y));
        return r;
    };
    drawInstrumentBackground(c, Instrument::Ammeter);
    drawFace(c, FaceId::Ammeter300mA);
    show();
    std::int32_t drawn = 0;
    unsigned seed = 7;
    const FaceId faces[] = {FaceId::Ammeter30mA, FaceId::Ammeter1A, FaceId::Ammeter10A};
    for (int step = 0; step < 300; ++step) {
        seed = seed * 1103515245u + 12345u;
        if (step % 50 == 49) drawFace(c, faces[(seed >> 8) % 3]);
        const std::int32_t to = step % 2 == 0 ? 313 : static_cast<std::int32_t>(50 + (seed >> 16) % 700);
        drawPointer(c, Instrument::Ammeter, to, drawn);
        show();
        ASSERT_EQ(screen, c.image()) << "step " << step;
    }
    drawPointer(c, Instrument::Ammeter, 313, drawn);
    show();
    drawPointer(c, Instrument::Ammeter, 323, drawn);
    const QRect moved = show();
    EXPECT_GE(moved.left(), 313 - 45);
    EXPECT_LE(moved.right(), 323 + 45);
    EXPECT_EQ(screen, c.image());
    EXPECT_TRUE(c.takeDirtyRect().isEmpty());
}

}  // namespace
}  // namespace render
