// Reading the bench's load from its description, and refusing bad ones with
// a reason.
#include "bench/bench_rlc_parse.h"

#include <gtest/gtest.h>

#include <string>

namespace bench {
namespace {

TEST(BenchRlcParse, ReadsElementsWithPrefixesAndUnits) {
    struct Case {
        const char* text;
        double ohms;
        double henries;  // 0: none
        double farads;   // 0: none
    };
    for (const Case c : {Case{"R=100", 100, 0, 0}, {"R=100,C=10u", 100, 0, 10e-6},
                         {"R=10,L=100m,C=10u", 10, 0.1, 10e-6}, {" c = 4.7 nF , r = 2.2kohm ", 2200, 0, 4.7e-9},
                         {"L=1.5H", 0, 1.5, 0}, {"R=1M", 1e6, 0, 0}, {"R=0", 0, 0, 0}, {"R=3m", 3e-3, 0, 0},
                         {"C=22pF", 0, 0, 22e-12}, {"C=10\xC2\xB5" "F", 0, 0, 10e-6}, {"R=4.7k\xCE\xA9", 4700, 0, 0},
                         {"R=1e3", 1000, 0, 0}, {"R=+5 ohms", 5, 0, 0}}) {
        const BenchRlcParse p = parseBenchRlc(c.text);
        ASSERT_TRUE(p.load) << c.text << ": " << p.error;
        EXPECT_DOUBLE_EQ(p.load->ohms, c.ohms) << c.text;
        EXPECT_DOUBLE_EQ(p.load->henries.value_or(0), c.henries) << c.text;
        EXPECT_DOUBLE_EQ(p.load->farads.value_or(0), c.farads) << c.text;
        EXPECT_EQ(p.load->henries.has_value(), c.henries > 0) << c.text;
        EXPECT_EQ(p.load->farads.has_value(), c.farads > 0) << c.text;
        EXPECT_TRUE(p.error.empty());
    }
}

TEST(BenchRlcParse, RefusesBadDescriptionsSayingWhy) {
    struct Case {
        const char* text;
        const char* error;
    };
    for (const Case c : {Case{"", "empty load description"},
                         {"  ", "empty load description"},
                         {"X=5", "unknown element 'X'"},
                         {"RL=5", "unknown element 'RL'"},
                         {"=5", "missing element name"},
                         {"R=", "missing value for R"},
                         {"R", "missing value for R"},
                         {"C= ", "missing value for C"},
                         {"R=1,R=2", "duplicate element R"},
                         {"R=1,r=2", "duplicate element R"},
                         {"R=10,", "empty element"},
                         {",R=10", "empty element"},
                         {"L=0", "L must be positive"},
                         {"C=-1u", "C must be positive"},
                         {"R=-1", "R must not be negative"},
                         {"R=inf", "R is not a finite number"},
                         {"L=nan", "L is not a finite number"},
                         {"R=1e308M", "R is not a finite number"},
                         {"R=1e999", "R's value is out of range"},
                         {"R=abc", "R's value 'abc' is not a number"},
                         {"C=10uH", "unknown unit 'H' for C"},
                         {"R=10x", "unknown unit 'x' for R"},
                         {"R=10kk", "unknown unit 'k' for R"}}) {
        const BenchRlcParse p = parseBenchRlc(c.text);
        EXPECT_FALSE(p.load) << c.text;
        EXPECT_NE(p.error.find(c.error), std::string::npos) << "'" << c.text << "' gave: " << p.error;
    }
}

}  // namespace
}  // namespace bench
