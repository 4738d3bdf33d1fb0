// The top-range faces next to a moving pointer: the pointer's erase leaves no
// block of another shade on them, and nothing of an earlier tall face shows.
#include "render/background.h"
#include "render/face.h"
#include "render/fonts.h"
#include "render/pointer.h"
#include "test_images.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace render {
namespace {

using testing::imageHeight;
using testing::kImageWidth;

struct Sequence {
    FaceId tall;  // the face of the range below (tall for the ammeter)
    FaceId top;
};
constexpr Sequence kSequences[] = {
    {FaceId::Ammeter10A, FaceId::Ammeter30A},
    {FaceId::Voltmeter10V, FaceId::Voltmeter30V},
    {FaceId::Source10V, FaceId::Source30V},
};

class TopFace : public ::testing::Test {
protected:
    static void SetUpTestSuite() { registerFontSubstitutions(); }
};

TEST_F(TopFace, APointerMovingOverItLeavesTheBandAsTheFaceDrewIt) {
    for (const Sequence& s : kSequences) {
        const Instrument instrument = faceInstrument(s.top);
        // The range below, its pointer, then the top range with the pointer moving on.
        Canvas c(kImageWidth, imageHeight(instrument));
        drawInstrumentBackground(c, instrument);
        std::int32_t drawn = 0;
        drawFace(c, s.tall);
        drawPointer(c, instrument, 520, drawn);
        drawFace(c, s.top);
        drawPointerShape(c, instrument, drawn);
        for (std::int32_t p : {560, 610, 480, 700})
            drawPointer(c, instrument, p, drawn);

        // The same face drawn on a fresh background.
        Canvas fresh(kImageWidth, imageHeight(instrument));
        drawInstrumentBackground(fresh, instrument);
        drawFace(fresh, s.top);

        // Away from where the pointer stands now, the face and the pointer
        // band are those of the fresh face (the rows a pointer erase reaches
        // and the rows a tall face paints), up to the step or two of shade by
        // which the pointer's right-half erase differs from the band (a block
        // of the face band's shades would be 15 steps off).
        for (int y = 0; y <= 149; ++y)
            for (int x = 0; x < kImageWidth; ++x) {
                if (x >= 700 - 45 && x <= 700 + 45) continue;
                const QRgb a = c.image().pixel(x, y);
                const QRgb b = fresh.image().pixel(x, y);
                const int apart = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                            std::abs(qBlue(a) - qBlue(b))});
                ASSERT_LE(apart, 2) << faceDesign(s.top).name << " at " << x << "," << y;
            }
    }
}

TEST_F(TopFace, APointerStandingStillIsPutBackWhole) {
    for (const Sequence& s : kSequences) {
        const Instrument instrument = faceInstrument(s.top);
        Canvas standing(kImageWidth, imageHeight(instrument));
        drawInstrumentBackground(standing, instrument);
        std::int32_t drawn = 0;
        drawPointer(standing, instrument, 650, drawn);
        drawFace(standing, s.top);
        drawPointerShape(standing, instrument, drawn);

        Canvas moved(kImageWidth, imageHeight(instrument));
        drawInstrumentBackground(moved, instrument);
        drawFace(moved, s.top);
        std::int32_t none = 0;
        drawPointer(moved, instrument, 650, none);

        for (int y = 134; y < imageHeight(instrument); ++y)
            for (int x = 650 - 40; x <= 650 + 40; ++x)
                ASSERT_EQ(standing.image().pixel(x, y), moved.image().pixel(x, y))
                    << faceDesign(s.top).name << " at " << x << "," << y;
    }
}

}  // namespace
}  // namespace render
