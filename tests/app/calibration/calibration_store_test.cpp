// The calibration file: no file, a broken file (reported, left as it is), the
// other cards' entries kept on saving, and an atomic replacement.
#include "app/calibration/calibration_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using app::calibration::CalibrationProfile;

QByteArray contentsOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

CalibrationProfile profile(double a, double v, double s) {
    return CalibrationProfile{{a, v, s}, QDateTime(QDate(2026, 12, 8), QTime(11, 0), Qt::UTC)};
}

TEST(CalibrationStore, DefaultFileFollowsTheConfigFolder) {
    EXPECT_EQ(app::calibration::defaultCalibrationFile(),
              QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + QStringLiteral("/pristroje/calibration.json"));
}

TEST(CalibrationStore, MissingAndBrokenFiles) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("calibration.json"));
    const app::calibration::CalibrationFileContents none = app::calibration::readCalibrationFile(path);
    EXPECT_FALSE(none.exists);
    EXPECT_TRUE(none.error.isEmpty());
    EXPECT_TRUE(none.cards.empty());

    const QByteArray broken[] = {
        "{ \"Cards\": { \"bench\": ",                                                   // cut short
        "[1, 2]",                                                                       // not an object
        "{ \"Cards\": 7 }",                                                             // no cards table
        "{ \"Cards\": { \"bench\": { \"AmmeterGain\": 2, \"VoltmeterGain\": 1 } } }",  // a factor missing
        "{ \"Cards\": { \"bench\": { \"AmmeterGain\": 2, \"VoltmeterGain\": 1, \"SourceGain\": 500 } } }",
    };
    for (const QByteArray& bytes : broken) {
        write(path, bytes);
        const app::calibration::CalibrationFileContents read = app::calibration::readCalibrationFile(path);
        EXPECT_TRUE(read.exists);
        EXPECT_FALSE(read.error.isEmpty()) << bytes.constData();
        EXPECT_TRUE(read.cards.empty()) << bytes.constData();
        EXPECT_EQ(contentsOf(path), bytes);  // reading leaves it exactly as it is
    }
    // Saving replaces a file that could not be understood.
    EXPECT_EQ(app::calibration::saveCalibrationEntry(path, QStringLiteral("bench"), profile(2, 2, 1.6)), QString());
    const app::calibration::CalibrationFileContents saved = app::calibration::readCalibrationFile(path);
    EXPECT_TRUE(saved.error.isEmpty()) << saved.error.toStdString();
    ASSERT_EQ(saved.cards.size(), 1u);
    EXPECT_EQ(saved.cards.at(QStringLiteral("bench")).factors.SourceGain, 1.6);
}

TEST(CalibrationStore, SavingKeepsTheOtherCardsAndReplacesAtomically) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nested/pristroje/calibration.json"));  // folders made
    const QString usb = QStringLiteral("USB Audio | capture hw:1 | playback hw:1");
    ASSERT_EQ(app::calibration::saveCalibrationEntry(path, usb, profile(1.25, 0.8, 0.5)), QString());
    ASSERT_EQ(app::calibration::saveCalibrationEntry(path, QStringLiteral("bench"), profile(2, 2.01, 1.6)), QString());
    ASSERT_EQ(app::calibration::saveCalibrationEntry(path, QStringLiteral("bench"), profile(3, 2.01, 1.6)), QString());

    app::calibration::CalibrationFileContents read = app::calibration::readCalibrationFile(path);
    ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
    ASSERT_EQ(read.cards.size(), 2u);
    EXPECT_EQ(read.cards.at(usb).factors.AmmeterGain, 1.25);
    EXPECT_EQ(read.cards.at(usb).factors.VoltmeterGain, 0.8);
    EXPECT_EQ(read.cards.at(usb).created, profile(1, 1, 1).created);
    EXPECT_EQ(read.cards.at(QStringLiteral("bench")).factors.AmmeterGain, 3.0);

    // No entry: the card's entry goes, the others stay.
    ASSERT_EQ(app::calibration::saveCalibrationEntry(path, QStringLiteral("bench"), std::nullopt), QString());
    read = app::calibration::readCalibrationFile(path);
    ASSERT_EQ(read.cards.size(), 1u);
    EXPECT_EQ(read.cards.count(usb), 1u);
    // Nothing but the file is left in its folder (no half-written copies).
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("nested/pristroje"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("calibration.json")});

    // A file that cannot be written: the reason, and the old file untouched.
    const QByteArray before = contentsOf(path);
    const QString blocked = dir.filePath(QStringLiteral("nested/pristroje/calibration.json/inside.json"));
    EXPECT_FALSE(app::calibration::saveCalibrationEntry(blocked, usb, profile(1, 1, 1)).isEmpty());
    EXPECT_EQ(contentsOf(path), before);
}

}  // namespace
