// The record's runs, its flagged points and its deletions with undo and redo:
// rows come back where they were even after newer points, a run's points go
// and come back with it, redo takes out the same points again; and the CSV
// writes the run and the flags only when the record has them.
#include "lab/csv_writer.h"
#include "lab/czech_count.h"
#include "lab/record/flagged_points.h"
#include "lab/record/record_edits.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace lab {
namespace {

LabPoint at(double t, double hz = 100, bool overload = false, bool settled = true) {
    LabPoint p;
    p[Quantity::Time] = t;
    p[Quantity::Frequency] = hz;
    p[Quantity::Current] = 10 * t;
    p.overload = overload;
    p.settled = settled;
    return p;
}

std::vector<double> times(const PointRecord& r) { return r.column(Quantity::Time); }

TEST(PointRecord, RunsBeginWithTheFirstPointAndWithNewRunNamedOrNumbered) {
    PointRecord r;
    EXPECT_EQ(r.currentRun(), nullptr);
    r.add(at(0));
    r.add(at(1));
    ASSERT_EQ(r.runs().size(), 1u);
    EXPECT_EQ(runTitle(r.runs()[0]), QStringLiteral("Běh 1"));
    const int second = r.newRun();
    // Pressed again before a point: still the same run, now with a name.
    EXPECT_EQ(r.newRun(QStringLiteral("47 Ω")), second);
    r.add(at(2));
    ASSERT_EQ(r.runs().size(), 2u);
    EXPECT_EQ(runTitle(r.runs()[1]), QStringLiteral("47 Ω"));
    EXPECT_EQ(r.runs()[1].points, 1u);
    EXPECT_EQ(r.runOf(2), second);
    EXPECT_TRUE(r.renameRun(second, {}));
    EXPECT_EQ(runTitle(*r.run(second)), QStringLiteral("Běh 2"));
}

TEST(RecordEdits, DeletionsComeBackWhereTheyWereAndRedoTakesTheSamePointsAgain) {
    PointRecord r;
    for (int i = 0; i < 5; ++i) r.add(at(i, 100 + i, i == 3));
    RecordEdits edits(r);
    EXPECT_EQ(r.flaggedCount(), 1u);
    ASSERT_TRUE(edits.removeRows({3, 1, 3, 99}));  // repeated and unknown rows ignored
    EXPECT_EQ(times(r), (std::vector<double>{0, 2, 4}));
    EXPECT_EQ(r.flaggedCount(), 0u);
    EXPECT_DOUBLE_EQ(r.range(Quantity::Current).max, 40);
    EXPECT_FALSE(edits.removeRows({7}));
    // Newer points stay after the ones put back.
    r.add(at(5));
    ASSERT_TRUE(edits.undo());
    EXPECT_EQ(times(r), (std::vector<double>{0, 1, 2, 3, 4, 5}));
    EXPECT_TRUE(r.overload(3));
    EXPECT_EQ(r.flaggedCount(), 1u);
    ASSERT_TRUE(edits.redo());
    EXPECT_EQ(times(r), (std::vector<double>{0, 2, 4, 5}));
    EXPECT_FALSE(edits.canRedo());

    // A run goes with its points and comes back in its place; clear takes everything.
    const int second = r.newRun();
    r.add(at(6));
    r.add(at(7));
    const int third = r.newRun();
    r.add(at(8));
    ASSERT_TRUE(edits.removeRun(second));
    EXPECT_EQ(times(r), (std::vector<double>{0, 2, 4, 5, 8}));
    EXPECT_EQ(r.run(second), nullptr);
    ASSERT_TRUE(edits.clear());
    EXPECT_TRUE(r.empty());
    EXPECT_TRUE(r.runs().empty());
    // After clear a new record numbers its runs from 1 again.
    r.add(at(9));
    EXPECT_EQ(runTitle(r.runs()[0]), QStringLiteral("Běh 1"));
    ASSERT_TRUE(edits.undo());
    ASSERT_TRUE(edits.undo());
    EXPECT_EQ(times(r), (std::vector<double>{0, 2, 4, 5, 6, 7, 8, 9}));
    ASSERT_EQ(r.runs().size(), 4u);
    EXPECT_EQ(r.runs()[1].id, second);
    EXPECT_EQ(r.runs()[1].points, 2u);
    EXPECT_EQ(r.runs()[2].id, third);
    // The new run keeps taking points.
    r.add(at(10));
    EXPECT_EQ(r.runOf(r.size() - 1), r.runs()[3].id);
}

TEST(FlaggedPoints, TheTeacherIsToldHowManyAndWhere) {
    PointRecord r;
    r.add(at(0, 149.6));
    r.add(at(1, 159.2, true));
    r.add(at(2, 168.0, true));
    r.add(at(3, 20.0, false, false));
    const FlaggedPoints f = flaggedPoints(r);
    EXPECT_EQ(f.count(), 3u);
    EXPECT_EQ(flaggedText(r, f, r.size()),
              QStringLiteral("Mimo proložení 3 body z 4: přebuzený vstup při 159 a 168 Hz; neustálený údaj při 20 Hz."));
    EXPECT_EQ(flaggedText(r, flaggedPoints(PointRecord{}), 0), QString());
    EXPECT_EQ(czechCount(1, kPoints), QStringLiteral("1 bod"));
    EXPECT_EQ(czechCount(4, kPoints), QStringLiteral("4 body"));
    EXPECT_EQ(czechCount(5, kPoints), QStringLiteral("5 bodů"));
    EXPECT_EQ(czechCount(0, kPoints), QStringLiteral("0 bodů"));
    EXPECT_EQ(czechCount(22, kSteps), QStringLiteral("22 kroků"));  // only 2 to 4 take the second form
}

TEST(CsvWriter, TheRunAndTheFlagsAreWrittenWhenTheRecordHasThem) {
    PointRecord r;
    r.add(at(0));
    const QString plain = QString::fromUtf8(csvOf(r, kCommaDecimalPoint).mid(3));
    EXPECT_TRUE(plain.startsWith(QStringLiteral("t (s),f (Hz),I (mA),U (mV),|Z| (Ω),φ (°),P (mW),λ\n")));
    r.newRun(QStringLiteral("R = 47 \"Ω\""));
    r.add(at(1, 100, true));
    const QStringList lines = QString::fromUtf8(csvOf(r, kSemicolonDecimalComma).mid(3)).split(QLatin1Char('\n'));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(";λ;běh;přebuzeno;ustáleno"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(R"(;"Běh 1";"0";"1")"))) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral(R"(;"R = 47 ""Ω""";"1";"1")"))) << lines[2].toStdString();
}

}  // namespace
}  // namespace lab
