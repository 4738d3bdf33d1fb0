// The calibration file: no file, a broken file (reported, left as it is), the
// other cards' entries kept on saving, and an atomic replacement. And when it
// is not what it should be: a save replaces only a regular file (or the
// profile a symlink leads to), keeps a file it cannot understand beside it,
// never saves over a file it cannot read, and refuses a huge file quickly;
// without a home there is no default file.
#include "app/calibration/calibration_store.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

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

const QByteArray kTwoCards =
    "{ \"Cards\": { \"sim\": { \"AmmeterGain\": 2, \"VoltmeterGain\": 2, \"SourceGain\": 2 },\n"
    "              \"USB Audio | capture hw:1 | playback hw:1\": { \"AmmeterGain\": 1.5, \"VoltmeterGain\": 1.5, "
    "\"SourceGain\": 1.5 } } }";

TEST(CalibrationStore, OnlyARegularFileOrTheProfileALinkLeadsToIsReplaced) {
    QTemporaryDir dir;
    const QString notes = dir.filePath(QStringLiteral("notes.txt"));
    write(notes, "Not a profile.\n");
    const QString fifo = dir.filePath(QStringLiteral("fifo.json"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = dir.filePath(QStringLiteral("folder.json"));
    ASSERT_TRUE(QDir().mkpath(folder));
    struct Refused {
        QString path;
        QString linkTo;  // made a symlink to this first
    };
    const Refused refused[] = {
        {fifo, {}},  // read and save without waiting for a writer
        {folder, {}},
        {dir.filePath(QStringLiteral("device.json")), QStringLiteral("/dev/null")},
        {dir.filePath(QStringLiteral("notes.json")), notes},  // a link to a file that is no profile
        {dir.filePath(QStringLiteral("dangling.json")), dir.filePath(QStringLiteral("nowhere.json"))},
    };
    for (const Refused& r : refused) {
        if (!r.linkTo.isEmpty()) {
            ASSERT_TRUE(QFile::link(r.linkTo, r.path));
        }
        const app::calibration::CalibrationFileContents read = app::calibration::readCalibrationFile(r.path);
        EXPECT_TRUE(read.cards.empty()) << r.path.toStdString();
        EXPECT_FALSE(app::calibration::saveCalibrationEntry(r.path, QStringLiteral("sim"), profile(2, 2, 2)).isEmpty())
            << r.path.toStdString();
    }
    EXPECT_FALSE(app::calibration::readCalibrationFile(fifo).error.isEmpty());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the FIFO is no longer one";
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode)) << "/dev/null is no longer a device";
    EXPECT_EQ(contentsOf(notes), QByteArray("Not a profile.\n"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("nowhere.json"))));
    EXPECT_TRUE(QFileInfo(folder).isDir());

    // A link to a profile (a teacher's dotfiles): the profile is replaced, the link stays.
    const QString kept = dir.filePath(QStringLiteral("dotfiles/calibration.json"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(kept).path()));
    write(kept, kTwoCards);
    const QString link = dir.filePath(QStringLiteral("calibration.json"));
    ASSERT_TRUE(QFile::link(kept, link));
    EXPECT_EQ(app::calibration::saveCalibrationEntry(link, QStringLiteral("bench"), profile(3, 3, 3)), QString());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    const app::calibration::CalibrationFileContents read = app::calibration::readCalibrationFile(kept);
    EXPECT_TRUE(read.error.isEmpty()) << read.error.toStdString();
    EXPECT_EQ(read.cards.size(), 3u);
}

TEST(CalibrationStore, AFileThatCannotBeUnderstoodIsKeptBesideBeforeASave) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("calibration.json"));
    QByteArray typo = kTwoCards;
    typo.insert(typo.lastIndexOf('}') - 2, ",");  // a trailing comma
    const QByteArray badEntry =
        "{ \"Cards\": { \"sim\": { \"AmmeterGain\": 2, \"VoltmeterGain\": 2, \"SourceGain\": 2 },\n"
        "              \"file\": { \"AmmeterGain\": 500, \"VoltmeterGain\": 1, \"SourceGain\": 1 } } }";
    for (const QByteArray& bytes : {typo, badEntry}) {
        for (const QString& old : QDir(dir.path()).entryList(QDir::Files)) QFile::remove(dir.filePath(old));
        write(path, bytes);
        ASSERT_FALSE(app::calibration::readCalibrationFile(path).error.isEmpty());
        QString keptAs;
        EXPECT_EQ(app::calibration::saveCalibrationEntry(path, QStringLiteral("bench"), profile(3, 3, 3), &keptAs),
                  QString());
        // Kept beside, byte for byte, under a name that says what it is and when.
        EXPECT_EQ(QFileInfo(keptAs).path(), dir.path());
        EXPECT_TRUE(QFileInfo(keptAs).fileName().startsWith(QStringLiteral("calibration.json.broken-2")))
            << keptAs.toStdString();
        EXPECT_EQ(contentsOf(keptAs), bytes);
        const app::calibration::CalibrationFileContents saved = app::calibration::readCalibrationFile(path);
        EXPECT_TRUE(saved.error.isEmpty()) << saved.error.toStdString();
        EXPECT_EQ(saved.cards.count(QStringLiteral("bench")), 1u);
        // The entries that could be read stay in the file.
        EXPECT_EQ(saved.cards.count(QStringLiteral("sim")), bytes == badEntry ? 1u : 0u);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);  // no lock, no temporary
    }
}

TEST(CalibrationStore, AFileThatCannotBeReadIsNotSavedOverAndAHugeOneIsRefusedQuickly) {
    QTemporaryDir dir;
    const QString huge = dir.filePath(QStringLiteral("huge.json"));
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(qint64(8) << 30));  // 8 GiB, sparse
    }
    QElapsedTimer timer;
    timer.start();
    const app::calibration::CalibrationFileContents read = app::calibration::readCalibrationFile(huge);
    EXPECT_FALSE(read.error.isEmpty());
    EXPECT_FALSE(app::calibration::saveCalibrationEntry(huge, QStringLiteral("sim"), profile(2, 2, 2)).isEmpty());
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(QFileInfo(huge).size(), qint64(8) << 30);

    // Just over the limit is too large; the limit itself is read.
    write(huge, QByteArray(app::calibration::kLargestCalibrationFile + 1, ' '));
    EXPECT_FALSE(app::calibration::readCalibrationFile(huge).error.isEmpty());
    write(huge, QByteArray(app::calibration::kLargestCalibrationFile - 2, ' ') + "{}");
    EXPECT_TRUE(app::calibration::readCalibrationFile(huge).error.isEmpty());

    if (::geteuid() != 0) {  // root reads any file
        const QString locked = dir.filePath(QStringLiteral("locked.json"));
        write(locked, kTwoCards);
        ASSERT_TRUE(QFile::setPermissions(locked, QFile::WriteOwner));
        EXPECT_FALSE(app::calibration::readCalibrationFile(locked).error.isEmpty());
        EXPECT_FALSE(app::calibration::saveCalibrationEntry(locked, QStringLiteral("sim"), profile(2, 2, 2)).isEmpty());
        ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner));
        EXPECT_EQ(contentsOf(locked), kTwoCards);
    }
}

TEST(CalibrationStore, WithoutAHomeThereIsNoDefaultFile) {
    const QByteArray home = qgetenv("HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qunsetenv("HOME");
    qunsetenv("XDG_CONFIG_HOME");
    const QString none = app::calibration::defaultCalibrationFile();
    qputenv("XDG_CONFIG_HOME", "relative/config");
    const QString relative = app::calibration::defaultCalibrationFile();
    qputenv("HOME", "/home/ucitel");
    const QString relativeWithHome = app::calibration::defaultCalibrationFile();
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", config);
    EXPECT_EQ(none, QString());
    EXPECT_EQ(relative, QString());
    EXPECT_EQ(relativeWithHome, QStringLiteral("/home/ucitel/.config/pristroje/calibration.json"));
    EXPECT_FALSE(app::calibration::defaultCalibrationFile().isEmpty());
}

}  // namespace
