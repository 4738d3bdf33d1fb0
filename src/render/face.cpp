#include "render/face.h"

#include "render/canvas.h"
#include "render/tint.h"

namespace render {

namespace {
constexpr int kBandPenWidth = 3;
}

void drawFace(Canvas& image, FaceId face) {
    const FaceDesign& design = faceDesign(face);

    image.setPenWidth(kBandPenWidth);
    drawRamp(image, tintOf(design.instrument), kFaceRamp, design.band);
    if (design.rule)
        drawRamp(image, Tint::Grey, kRuleRamp, *design.rule);
    if (design.pointerBand)
        drawRamp(image, tintOf(design.instrument), kPointerRamp, *design.pointerBand);

    image.setPenColor(kBlack);
    for (const TickSet& set : design.ticks) {
        for (int k = 0; k < set.count; ++k) {
            image.setPenWidth(set.penWidth);
            const int x = tickX(set, k);
            image.line(x, set.top, x, set.bottom);
        }
    }

    image.setFontColor(kBlack);
    image.setFontName(QString::fromLatin1(kFaceFontName.data(), static_cast<qsizetype>(kFaceFontName.size())));
    image.setFontSize(design.fontPoints);
    image.setBrushClear(true);
    for (const Numeral& n : design.numerals)
        image.textOut(n.x, n.y, QString::fromLatin1(n.text.data(), static_cast<qsizetype>(n.text.size())));

    image.setPenWidth(kBandPenWidth);
}

}  // namespace render
