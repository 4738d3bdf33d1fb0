// The numerals of every face as a pupil sees them: each text where the scale
// puts it, and each decimal numeral read as one: "0.1", its point on the
// baseline with a gap to the digits on both sides, nothing touching it, and
// no part of it hidden by a unit box.
#include "app/window/window_definition.h"
#include "render/background.h"
#include "render/canvas.h"
#include "render/face.h"
#include "render/fonts.h"

#include <QRect>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using render::FaceId;

struct Text {
    const char* text;
    int x;
    int y;
};

// What each face writes, in order (y is the top of the character cell).
const std::vector<Text>& expectedNumerals(FaceId face) {
    static const std::vector<Text> zeroToTen = {{"2", 160, 0}, {"4", 297, 0}, {"6", 451, 0}, {"8", 585, 0},
                                                {"0", 22, 0},  {"1", 705, 0}, {"0", 740, 0}};
    static const std::vector<Text> zeroToThirty = {{"0", 22, 0}, {"10", 220, 0}, {"20", 450, 0}, {"30", 675, 0}};
    static const std::vector<Text> zeroToPoint3 = {{"0", 22, 0}, {"0.1", 223, 0}, {"0.2", 454, 0}, {"0.3", 681, 0}};
    static const std::vector<Text> ammeterOne = {{"0", 22, 0}, {"0.4", 238, 0}, {"0.6", 447, 0}, {"1", 720, 0}};
    static const std::vector<Text> voltmeterOne = {{"0", 22, 0}, {"0.3", 202, 0}, {"0.7", 481, 0}, {"1", 722, 0}};
    static const std::vector<Text> zeroToThree = {{"0", 22, 0}, {"1", 250, 0}, {"2", 487, 0}, {"3", 715, 0}};
    static const std::vector<Text> top = {{"0", 22, 49},  {"10", 220, 49}, {"20", 455, 49}, {"30", 680, 49},
                                          {".", 266, 49}, {".", 496, 49},  {".", 727, 49}};
    switch (face) {
        case FaceId::Ammeter10mA: case FaceId::Ammeter10A: case FaceId::Voltmeter10V: case FaceId::Source10V:
            return zeroToTen;
        case FaceId::Ammeter30mA: return zeroToThirty;
        case FaceId::Ammeter300mA: case FaceId::Voltmeter300mV: case FaceId::Source300mV: return zeroToPoint3;
        case FaceId::Ammeter1A: return ammeterOne;
        case FaceId::Voltmeter1V: case FaceId::Source1V: return voltmeterOne;
        case FaceId::Ammeter3A: case FaceId::Voltmeter3V: case FaceId::Source3V: return zeroToThree;
        case FaceId::Ammeter30A: case FaceId::Voltmeter30V: case FaceId::Source30V: return top;
    }
    return top;
}

bool isTopFace(FaceId f) {
    return f == FaceId::Ammeter30A || f == FaceId::Voltmeter30V || f == FaceId::Source30V;
}

// The unit box over an instrument's image, in the image's coordinates.
QRect unitBoxInImage(measure::Instrument instrument) {
    const char* box = instrument == measure::Instrument::Ammeter     ? "Panel8"
                      : instrument == measure::Instrument::Voltmeter ? "Panel9"
                                                                    : "Panel1";
    const char* image = instrument == measure::Instrument::Ammeter     ? "Image1"
                        : instrument == measure::Instrument::Voltmeter ? "Image3"
                                                                      : "Image2";
    const app::window::ControlDef* b = app::window::findControlDefinition(QString::fromLatin1(box));
    const app::window::ControlDef* i = app::window::findControlDefinition(QString::fromLatin1(image));
    return QRect(b->left - i->left, b->top - i->top, b->width, b->height);
}

using Pixels = std::set<std::pair<int, int>>;

// The black pixels one text makes alone, in the face font.
Pixels inkOf(const render::FaceDesign& d, const Text& t, int width, int height) {
    render::Canvas c(width, height);
    c.setFontName(QStringLiteral("Arial Narow CE"));
    c.setFontSize(d.fontPoints);
    c.setFontColor(0);
    c.setBrushClear(true);
    c.textOut(t.x, t.y, QString::fromLatin1(t.text));
    Pixels ink;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((c.image().pixel(x, y) & 0xFFFFFFu) == 0) ink.emplace(x, y);
    return ink;
}

class FaceNumerals : public ::testing::Test {
protected:
    static void SetUpTestSuite() { render::registerFontSubstitutions(); }
};

TEST_F(FaceNumerals, EveryTextIsWhereTheScaleHasItAndEveryPointShowsOnItsOwn) {
    for (int f = 0; f < render::kFaceCount; ++f) {
        const auto face = static_cast<FaceId>(f);
        const render::FaceDesign& d = render::faceDesign(face);
        const std::vector<Text>& expected = expectedNumerals(face);
        ASSERT_EQ(d.numerals.size(), expected.size()) << d.name;
        for (std::size_t k = 0; k < expected.size(); ++k) {
            EXPECT_EQ(d.numerals[k].text, expected[k].text) << d.name << " #" << k;
            EXPECT_EQ(d.numerals[k].x, expected[k].x) << d.name << " #" << k;
            EXPECT_EQ(d.numerals[k].y, expected[k].y) << d.name << " #" << k;
        }

        const int height = d.instrument == measure::Instrument::Source ? 169 : 165;
        render::Canvas c(800, height);
        render::drawInstrumentBackground(c, d.instrument);
        render::drawFace(c, face);
        auto black = [&](int x, int y) {
            return x >= 0 && y >= 0 && x < 800 && y < height && (c.image().pixel(x, y) & 0xFFFFFFu) == 0;
        };
        const QRect box = unitBoxInImage(d.instrument);
        for (const Text& t : expected) {
            // The text's strokes are on the face where the table puts them.
            const Pixels ink = inkOf(d, t, 800, height);
            ASSERT_FALSE(ink.empty()) << d.name << " " << t.text;
            for (const auto& [x, y] : ink)
                ASSERT_TRUE(black(x, y)) << d.name << " \"" << t.text << "\" at " << t.x << ": no ink at " << x
                                         << "," << y;
            // The top faces' points lie inside the strokes of their "0"s by
            // design: those faces read 0 10 20 30.
            if (std::string_view(t.text).find('.') == std::string_view::npos || isTopFace(face)) continue;
            // A decimal numeral: a digit, the point, a digit, with columns of
            // band between them.
            std::map<int, std::pair<int, int>> rowsOfColumn;  // column: top, bottom row of ink
            for (const auto& [x, y] : ink) {
                auto [it, added] = rowsOfColumn.try_emplace(x, y, y);
                it->second = {std::min(it->second.first, y), std::max(it->second.second, y)};
            }
            std::vector<QRect> parts;  // the ink of each run of columns
            for (const auto& [x, rows] : rowsOfColumn) {
                const QRect column(QPoint(x, rows.first), QPoint(x, rows.second));
                if (!parts.empty() && parts.back().right() == x - 1)
                    parts.back() |= column;
                else
                    parts.push_back(column);
            }
            ASSERT_EQ(parts.size(), 3u) << d.name << " \"" << t.text << "\" does not read as a digit, a point, a digit";
            const QRect& point = parts[1];
            EXPECT_GE(point.left() - parts[0].right(), 4) << d.name << " " << t.text;
            EXPECT_GE(parts[2].left() - point.right(), 4) << d.name << " " << t.text;
            // The point sits on the baseline: its foot on the digits' foot row
            // (within a row: round feet overshoot it), and it is small.
            EXPECT_LE(std::abs(point.bottom() - std::min(parts[0].bottom(), parts[2].bottom())), 1)
                << d.name << " " << t.text;
            EXPECT_LT(point.height() * 4, parts[2].height()) << d.name << " " << t.text;
            // Nothing else on the face touches the point, and no part of the
            // numeral lies under the unit box.
            for (const auto& [x, y] : ink) {
                ASSERT_FALSE(box.contains(x, y)) << d.name << " \"" << t.text << "\" lies under the unit box";
                if (!point.contains(x, y)) continue;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (!ink.contains({x + dx, y + dy})) {
                            ASSERT_FALSE(black(x + dx, y + dy))
                                << d.name << " point of \"" << t.text << "\" touches ink at " << x + dx << "," << y + dy;
                        }
            }
        }
    }
}

}  // namespace
