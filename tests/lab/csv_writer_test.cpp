// The CSV of a record, in both dialects: the header with units, the decimal
// separator, unknown values empty, and what a spreadsheet needs to take the
// file for UTF-8. Reading the files back with Python and LibreOffice is done
// by the integration tests.
#include "lab/csv_writer.h"
#include "lab/record/point_record.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <limits>

namespace lab {
namespace {

PointRecord twoPoints() {
    PointRecord record;
    LabPoint a;
    a.values = {0.0, 159.1549, 201.54387, 2026.7583, 10.0561, -6.04, 406.178, 0.99441};
    LabPoint b;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // No current: no |Z|, no phase; a power that rounds to zero from below.
    b.values = {1.3605, nan, 0.0, 12.5, nan, nan, -0.000001, 0.0};
    record.add(a);
    record.add(b);
    return record;
}

QStringList lines(const QByteArray& csv) {
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBF")) << "no byte-order mark";
    return QString::fromUtf8(csv.mid(3)).split(QLatin1Char('\n'));
}

TEST(CsvWriter, BothDialectsNameEachQuantityWithItsUnitAndWriteEveryNumberInTheirOwnWay) {
    const PointRecord record = twoPoints();
    const QStringList comma = lines(csvOf(record, kCommaDecimalPoint));
    ASSERT_EQ(comma.size(), 4);  // header, two rows, the last line's end
    EXPECT_EQ(comma[0], QStringLiteral("t (s),f (Hz),I (mA),U (mV),|Z| (Ω),φ (°),P (mW),λ"));
    EXPECT_EQ(comma[1], QStringLiteral("0.000,159.15,201.5439,2026.758,10.056,-6.04,406.17800,0.9944"));
    EXPECT_EQ(comma[2], QStringLiteral("1.361,,0.0000,12.500,,,0.00000,0.0000"));
    EXPECT_EQ(comma[3], QString());

    const QStringList semicolon = lines(csvOf(record, kSemicolonDecimalComma));
    ASSERT_EQ(semicolon.size(), 4);
    EXPECT_EQ(semicolon[0], QStringLiteral("t (s);f (Hz);I (mA);U (mV);|Z| (Ω);φ (°);P (mW);λ"));
    EXPECT_EQ(semicolon[1],
              QStringLiteral(R"("0,000";"159,15";"201,5439";"2026,758";"10,056";"-6,04";"406,17800";"0,9944")"));
    EXPECT_EQ(semicolon[2], QStringLiteral(R"("1,361";;"0,0000";"12,500";;;"0,00000";"0,0000")"));
}

TEST(CsvWriter, TheLocaleChoosesTheDialect) {
    EXPECT_EQ(dialectFor(QLocale(QLocale::Czech, QLocale::Czechia)), kSemicolonDecimalComma);
    EXPECT_EQ(dialectFor(QLocale(QLocale::German, QLocale::Germany)), kSemicolonDecimalComma);
    EXPECT_EQ(dialectFor(QLocale(QLocale::English, QLocale::UnitedStates)), kCommaDecimalPoint);
    EXPECT_EQ(dialectFor(QLocale::c()), kCommaDecimalPoint);
}

TEST(PointRecord, RangesFollowThePointsAndLeaveUnknownValuesOut) {
    PointRecord record = twoPoints();
    const PointRecord::Range& power = record.range(Quantity::Power);
    EXPECT_EQ(power.count, 2);
    EXPECT_DOUBLE_EQ(power.min, -0.000001);
    EXPECT_DOUBLE_EQ(power.max, 406.178);
    EXPECT_DOUBLE_EQ(power.minPositive, 406.178);
    const PointRecord::Range& phase = record.range(Quantity::Phase);
    EXPECT_EQ(phase.count, 1);
    EXPECT_EQ(phase.minPositive, 0);  // no value above 0
    EXPECT_DOUBLE_EQ(record.range(Quantity::Current).minPositive, 201.54387);
    record.clear();
    EXPECT_TRUE(record.empty());
    EXPECT_EQ(record.range(Quantity::Power).count, 0);
}

}  // namespace
}  // namespace lab
