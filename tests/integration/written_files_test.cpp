// The files a headless run writes, as a careless or hostile user would name
// them: a lab export over the run's own inputs and outputs (refused, code 2,
// nothing touched), over a device or a FIFO or a link to one (refused without
// opening it, code 1), over a link to someone else's file (the link gives
// way, the file stays); --state and --snapshot on a full disk (the old files
// kept, the system's reason said); a temporary left by a killed save (gone
// after the next).
#include "platform/files/own_temporaries.h"
#include "support/program_run.h"
#include "support/test_wav.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class WrittenFiles : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir_.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    mode_t modeOf(const QString& name) const {
        struct stat st {};
        return ::lstat(QFile::encodeName(path(name)).constData(), &st) == 0 ? st.st_mode : 0;
    }
    QStringList entries() const { return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }

    QTemporaryDir dir_;
};

QStringList bench(const QStringList& more) { return QStringList{"--headless", "--audio=bench"} + more; }

TEST_F(WrittenFiles, ALabFileOverAnInputOrAnotherOutputOfTheRunIsRefusedWithCode2AndTouchesNothing) {
    const QByteArray profile = "{\n    \"Cards\": {\n    }\n}\n";
    write("profil.csv", profile);
    ASSERT_TRUE(testsupport::writeTestWav(path("nahravka.wav"), 44100, 2, testsupport::WavSamples::Pcm16, 4410,
                                          testsupport::testSine(50, 44100)));
    const QByteArray recording = testsupport::readFile(path("nahravka.wav"));
    ASSERT_EQ(::link(QFile::encodeName(path("nahravka.wav")).constData(),
                     QFile::encodeName(path("nahravka.csv")).constData()), 0);
    const QStringList file{"--headless", "--audio=file", "--input-wav", path("nahravka.wav")};
    struct Case {
        QStringList arguments;
        QString over;  // what would have been written over
    };
    for (const Case& c : {
             Case{bench({"--calibration", path("profil.csv"), "--do", "lab:export=" + path("profil.csv")}), "profil.csv"},
             Case{file + QStringList{"--do", "lab:export=" + path("nahravka.csv")}, "nahravka.wav"},
             Case{bench({"--state", path("stav.csv"), "--do", "lab:export=" + path("stav.csv")}), "stav.csv"},
             Case{bench({"--snapshot", path("snimek.png"), "--do", "lab:plot=" + path("./snimek.png")}), "snimek.png"},
             Case{bench({"--images", dir_.path(), "--do", "lab:plot=" + path("Image3.png")}), "Image3.png"},
             Case{bench({"--state", path("obraz.png"), "--snapshot", path("obraz.png")}), "obraz.png"},
         }) {
        const testsupport::ProgramRun run = testsupport::runProgram(c.arguments, 30000);
        EXPECT_EQ(run.exitCode, 2) << c.arguments.join(' ').toStdString() << ": " << run.err.constData();
        EXPECT_TRUE(run.err.contains("it would be written over")) << run.err.constData();
    }
    EXPECT_EQ(testsupport::readFile(path("profil.csv")), profile);
    EXPECT_EQ(testsupport::readFile(path("nahravka.wav")), recording);
    QStringList left = entries();
    left.sort();
    EXPECT_EQ(left, (QStringList{"nahravka.csv", "nahravka.wav", "profil.csv"})) << "nothing else was written";
}

TEST_F(WrittenFiles, ALabFileOnADeviceAFifoOrALinkToOneIsRefusedWithoutOpeningItWithCode1) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("roura.csv")).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("roura.png")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/full", path("plny.csv")));
    ASSERT_TRUE(QFile::link("/dev/null", path("nic.svg")));
    QStringList targets{"roura.csv", "roura.png", "plny.csv", "nic.svg"};
    // A device node of its own (a copy of /dev/full's) where the system lets us make one.
    if (::mknod(QFile::encodeName(path("uzel.csv")).constData(), S_IFCHR | 0600, ::makedev(1, 7)) == 0)
        targets << "uzel.csv";
    for (const QString& target : targets) {
        const QString action = (target.endsWith(".csv") ? "lab:export=" : "lab:plot=") + path(target);
        // A FIFO opened for writing would hold the run up until the time-out.
        const testsupport::ProgramRun run = testsupport::runProgram(bench({"--do", action}), 20000);
        EXPECT_EQ(run.exitCode, 1) << target.toStdString() << ": " << run.err.constData();
        EXPECT_TRUE(run.err.contains("cannot write") && run.err.contains("not a regular file")) << run.err.constData();
    }
    EXPECT_TRUE(S_ISFIFO(modeOf("roura.csv")) && S_ISFIFO(modeOf("roura.png")));
    EXPECT_TRUE(S_ISLNK(modeOf("plny.csv")) && S_ISLNK(modeOf("nic.svg")));
    if (targets.contains("uzel.csv")) {
        EXPECT_TRUE(S_ISCHR(modeOf("uzel.csv")));
    }
    struct stat st {};
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST_F(WrittenFiles, ALabFileOnALinkToAFileNotOursReplacesTheLinkAndLeavesTheFile) {
    write("znamky.ods", "známky");
    ASSERT_TRUE(QFile::link(path("znamky.ods"), path("mereni.csv")));
    const testsupport::ProgramRun run =
        testsupport::runProgram(bench({"--do", "lab:point", "--do", "lab:export=" + path("mereni.csv")}));
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(testsupport::readFile(path("znamky.ods")), QByteArray("známky"));
    EXPECT_TRUE(S_ISREG(modeOf("mereni.csv")));
    EXPECT_EQ(testsupport::readFile(path("mereni.csv")).count('\n'), 2) << "the header and the point";
}

TEST_F(WrittenFiles, StateAndSnapshotOnAFullDiskKeepTheOldFilesAndSayTheSystemsReason) {
    const QStringList outputs{"--run-for", "0.2", "--state", path("stav.json"), "--snapshot", path("snimek.png")};
    ASSERT_EQ(testsupport::runProgram(bench(outputs)).exitCode, 0);
    const QByteArray state = testsupport::readFile(path("stav.json"));
    const QByteArray snapshot = testsupport::readFile(path("snimek.png"));
    ASSERT_GT(state.size(), 4096);
    ASSERT_GT(snapshot.size(), 4096);
    // No tmpfs to fill without privileges: a file-size limit fails the writes as a full disk does.
    testsupport::RunSetup full;
    full.fileSizeLimit = 4096;
    const testsupport::ProgramRun run = testsupport::runProgram(bench(outputs + QStringList{"--do", "track:TrackBar1=900"}), full);
    EXPECT_EQ(run.exitCode, 1) << run.err.constData();
    const QByteArray reason = QByteArray("cannot write ") + QFile::encodeName(path("stav.json")) + ": " + std::strerror(EFBIG);
    EXPECT_TRUE(run.err.contains(reason)) << run.err.constData();
    EXPECT_TRUE(run.err.contains(QFile::encodeName(path("snimek.png")))) << run.err.constData();
    EXPECT_FALSE(run.err.contains("Unknown error")) << run.err.constData();
    EXPECT_EQ(testsupport::readFile(path("stav.json")), state);
    EXPECT_EQ(testsupport::readFile(path("snimek.png")), snapshot);
    EXPECT_EQ(entries().size(), 2) << entries().join(' ').toStdString();
}

TEST_F(WrittenFiles, ATemporaryLeftByAKilledSaveIsRemovedAtTheNextSave) {
    // What a save killed with -9 between writing and renaming leaves: its
    // temporary, named after the export and the program that died.
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    QString left = QString::fromStdString(platform::files::temporaryName("mereni.csv"));
    left.replace(QString::number(::getpid()) + "@", QString::number(child) + "@");
    write(left, QByteArray(1 << 20, ';'));
    write("mereni.csv", "stará data\n");

    const testsupport::ProgramRun run = testsupport::runProgram(bench({"--do", "lab:export=" + path("mereni.csv")}));
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(entries(), QStringList{"mereni.csv"});
    EXPECT_TRUE(testsupport::readFile(path("mereni.csv")).startsWith("\xEF\xBB\xBF")) << "the table, written anew";
}

}  // namespace
