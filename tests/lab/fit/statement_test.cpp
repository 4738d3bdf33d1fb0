// How a fit's numbers are written: the uncertainty to the digits it has, the
// value to the same place, decimal commas, never "-0"; the models by key.
#include "lab/fit/fit_model.h"
#include "lab/fit/statement.h"

#include <gtest/gtest.h>

namespace lab::fit {
namespace {

TEST(FitStatement, ValuesAreRoundedToTheirUncertainty) {
    EXPECT_EQ(valueWithUncertainty(159.2123, 0.3127), QStringLiteral("159,2 ± 0,3"));
    EXPECT_EQ(valueWithUncertainty(3.16228, 0.0512), QStringLiteral("3,16 ± 0,05"));
    EXPECT_EQ(valueWithUncertainty(47.0234, 0.0412), QStringLiteral("47,02 ± 0,04"));
    // A leading 1 or 2 keeps a second digit.
    EXPECT_EQ(valueWithUncertainty(503.2915, 1.234), QStringLiteral("503,3 ± 1,2"));
    EXPECT_EQ(valueWithUncertainty(0.0123456, 0.000251), QStringLiteral("0,01235 ± 0,00025"));
    // Large uncertainties round the value to tens or hundreds.
    EXPECT_EQ(valueWithUncertainty(12345, 340), QStringLiteral("12300 ± 300"));
    EXPECT_EQ(valueWithUncertainty(-0.0004, 0.02), QStringLiteral("0,000 ± 0,020"));
    EXPECT_EQ(valueWithUncertainty(5, 0), QStringLiteral("5,000 ± 0"));

    const Peaks peaks{{159.1549, 177.43}, {20, 3.21}};
    EXPECT_EQ(maximumText(peaks, Quantity::Frequency, Quantity::Current),
              QStringLiteral("maximum 177,4\u00A0mA při 159,2\u00A0Hz"));
    EXPECT_EQ(minimumText(peaks, Quantity::Frequency, Quantity::Current),
              QStringLiteral("minimum 3,210\u00A0mA při 20,00\u00A0Hz"));

    EXPECT_EQ(maximumText(Peaks{{1000, 84.23}, {20, -89.1}}, Quantity::Frequency, Quantity::Phase),
              QStringLiteral("maximum 84,23° při 1000\u00A0Hz"));

    for (Model model : kModels) EXPECT_EQ(modelByKey(modelKey(model)), model);
    EXPECT_FALSE(modelByKey(QStringLiteral("sine")));
}

}  // namespace
}  // namespace lab::fit
