// The least-squares line: exact on a line, the textbook figures on scattered
// points, unknown values left out, and no line where none can be drawn.
#include "lab/linear_fit.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace lab {
namespace {

TEST(LinearFit, ALineIsFoundExactlyAndScatteredPointsGiveTheirTextbookFigures) {
    // U = 100 I + 0.5, the record's way: unknown values are NaN and left out.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<double> current{1, 2, nan, 3, 4, 5};
    const std::vector<double> voltage{100.5, 200.5, 250.0, 300.5, nan, 500.5};
    const auto exact = fitLine(current, voltage);
    ASSERT_TRUE(exact);
    EXPECT_EQ(exact->points, 4u);
    EXPECT_NEAR(exact->slope, 100.0, 1e-12);
    EXPECT_NEAR(exact->intercept, 0.5, 1e-10);
    EXPECT_NEAR(exact->r2, 1.0, 1e-15);

    // x 1..5, y 2 4 5 4 5: slope 0.6, intercept 2.2, R² = 0.6 (worked by hand:
    // Sxy = 6, Sxx = 10, Syy = 6, residual 6 - 3.6 = 2.4).
    const auto scattered = fitLine({1, 2, 3, 4, 5}, {2, 4, 5, 4, 5});
    ASSERT_TRUE(scattered);
    EXPECT_NEAR(scattered->slope, 0.6, 1e-12);
    EXPECT_NEAR(scattered->intercept, 2.2, 1e-12);
    EXPECT_NEAR(scattered->r2, 0.6, 1e-12);
}

TEST(LinearFit, TimesOfAnHourKeepTheSlopeOfSmallChanges) {
    // An hour into a record, a drift of 1e-6 per second on a level of 1000.
    std::vector<double> t, y;
    for (int i = 0; i < 1000; ++i) {
        t.push_back(3600.0 + i * 0.0567);
        y.push_back(1000.0 + 1e-6 * t.back());
    }
    const auto fit = fitLine(t, y);
    ASSERT_TRUE(fit);
    EXPECT_NEAR(fit->slope, 1e-6, 1e-12);
}

TEST(LinearFit, NoLineThroughOnePointOrAboveASingleX) {
    EXPECT_FALSE(fitLine({}, {}));
    EXPECT_FALSE(fitLine({1}, {2}));
    EXPECT_FALSE(fitLine({3, 3, 3}, {1, 2, 3}));
    // A flat line fits perfectly.
    const auto flat = fitLine({1, 2, 3}, {7, 7, 7});
    ASSERT_TRUE(flat);
    EXPECT_EQ(flat->slope, 0);
    EXPECT_EQ(flat->r2, 1.0);
}

}  // namespace
}  // namespace lab
