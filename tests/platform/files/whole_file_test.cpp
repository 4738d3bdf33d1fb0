// The file guard on its own (a program's runs over devices, FIFOs and links:
// tests/integration/written_files_test): whole or nothing (a file-size limit,
// /dev/full and a writer that gives up stand for a full disk), what is not a
// regular file named for what it is, the guarded files kept by identity,
// only stale temporaries of ours cleared.
#include "platform/files/descriptor_device.h"
#include "platform/files/guarded_files.h"
#include "platform/files/own_temporaries.h"
#include "platform/files/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace files = platform::files;

QByteArray contentsOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList entries(const QTemporaryDir& dir) {
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

mode_t modeOf(const QString& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st.st_mode;
}

// Writes more than RLIMIT_FSIZE allows in this process, as a full disk would
// refuse it (SIGXFSZ ignored, so the write fails with EFBIG).
files::WriteOutcome writeOverLimit(const QString& path, const QByteArray& contents, rlim_t limit) {
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto previous = ::signal(SIGXFSZ, SIG_IGN);
    const struct rlimit small{limit, old.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    const files::WriteOutcome out = files::writeWholeFile(path, contents);
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, previous);
    return out;
}

TEST(WholeFile, AFileIsWrittenWholeOrNotAtAllAndAFailureSaysTheSystemsReason) {
    QTemporaryDir dir;
    const QString path = dir.filePath("mereni.csv");
    ASSERT_TRUE(files::writeWholeFile(path, QByteArray("old\n")).ok());
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(files::writeWholeFile(path, QByteArray("new\n")).ok());
    EXPECT_EQ(contentsOf(path), "new\n");
    EXPECT_EQ(modeOf(path) & 07777, 0640u) << "a replaced file keeps its permissions";

    // The disk fills part way: the old file stays, byte for byte.
    const files::WriteOutcome full = writeOverLimit(path, QByteArray(64 * 1024, 'x'), 4096);
    EXPECT_EQ(full.fault, files::WriteFault::System);
    EXPECT_EQ(full.english(), QString::fromLocal8Bit(std::strerror(EFBIG)));
    EXPECT_EQ(contentsOf(path), "new\n");

    // A writer that gives up without a system error.
    const auto givenUp = files::writeWholeFile(path, [](QIODevice& device) {
        device.write("half");
        return false;
    });
    EXPECT_EQ(givenUp.fault, files::WriteFault::Contents);
    EXPECT_FALSE(givenUp.czech().isEmpty());
    EXPECT_EQ(contentsOf(path), "new\n");
    EXPECT_EQ(entries(dir), QStringList{"mereni.csv"}) << "no temporary is left behind";

    const auto noFolder = files::writeWholeFile(dir.filePath("chybi/mereni.csv"), QByteArray("x"));
    EXPECT_EQ(noFolder.english(), QString::fromLocal8Bit(std::strerror(ENOENT)));
    EXPECT_EQ(files::writeWholeFile(QString(), QByteArray("x")).fault, files::WriteFault::NoName);

    // ENOSPC itself, as the device reports it: the system's words, not "Unknown error".
    const int full_fd = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full_fd, 0);
    files::DescriptorDevice device(full_fd);
    device.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    EXPECT_EQ(device.write("abc", 3), -1);
    EXPECT_EQ(device.error(), ENOSPC);
    ::close(full_fd);
    EXPECT_EQ(files::systemFault(ENOSPC).english(), QString::fromLocal8Bit(std::strerror(ENOSPC)));

    if (::geteuid() != 0) {  // root may write anything
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0440), 0);
        EXPECT_EQ(files::writeWholeFile(path, QByteArray("x")).error, EACCES) << "a read-only file is kept";
        EXPECT_EQ(contentsOf(path), "new\n");
    }
}

TEST(WholeFile, WhatIsNotARegularFileIsRefusedForWhatItIsAndALinkToNothingIsReplaced) {
    QTemporaryDir dir;
    const QString toDevice = dir.filePath("odkaz.csv");
    ASSERT_TRUE(QFile::link("/dev/null", toDevice));
    const files::WriteOutcome linked = files::checkWriteTarget(toDevice);
    EXPECT_EQ(linked.fault, files::WriteFault::NotRegular);
    EXPECT_EQ(linked.kind, files::FileKind::Device);
    EXPECT_EQ(linked.czech(), QStringLiteral("je to odkaz na zařízení, ne na obyčejný soubor"));
    EXPECT_EQ(linked.english(), QStringLiteral("it is a symlink to a device, not a regular file"));
    EXPECT_EQ(files::writeWholeFile(dir.path(), QByteArray("x")).czech(), QStringLiteral("je to složka, ne soubor"));

    const QString dangling = dir.filePath("stary.csv");
    ASSERT_TRUE(QFile::link(dir.filePath("nikde.csv"), dangling));
    ASSERT_TRUE(files::writeWholeFile(dangling, QByteArray("1;2\n")).ok());
    EXPECT_TRUE(S_ISREG(modeOf(dangling)));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("nikde.csv"))) << "not written through the link";
}

TEST(WholeFile, NoWriteGoesOverAGuardedFileByAnyNameButItsOwn) {
    QTemporaryDir dir;
    const QString input = dir.filePath("nahravka.wav");
    ASSERT_TRUE(files::writeWholeFile(input, QByteArray("RIFF")).ok());
    const QString hardLink = dir.filePath("tvrdy.wav");
    ASSERT_EQ(::link(QFile::encodeName(input).constData(), QFile::encodeName(hardLink).constData()), 0);
    const QString symlink = dir.filePath("odkaz.wav");
    ASSERT_TRUE(QFile::link(input, symlink));
    const QString state = dir.filePath("stav.json");  // not written yet
    files::guardFiles({{input, {}, "the recording", QStringLiteral("nahrávka")},
                       {state, "--state", "the state file", QStringLiteral("stav")},
                       {"/dev/null", {}, "nothing to lose", QStringLiteral("nic")}});

    for (const QString& name : {input, hardLink, symlink, QDir(dir.path()).filePath("./nahravka.wav")}) {
        const files::WriteOutcome out = files::writeWholeFile(name, QByteArray("1;2\n"));
        EXPECT_EQ(out.fault, files::WriteFault::Guarded) << name.toStdString();
        EXPECT_EQ(out.english(), QStringLiteral("it is the recording; it would be written over"));
        EXPECT_EQ(out.czech(), QStringLiteral("to je nahrávka"));
    }
    EXPECT_EQ(contentsOf(input), "RIFF");
    EXPECT_TRUE(S_ISLNK(modeOf(symlink)));

    // A name not yet written is guarded by its folder and name; its owner may write it.
    EXPECT_EQ(files::checkWriteTarget(dir.filePath("../") + QDir(dir.path()).dirName() + "/stav.json").fault,
              files::WriteFault::Guarded);
    EXPECT_TRUE(files::writeWholeFile(state, QByteArray("{}"), "--state").ok());
    EXPECT_EQ(files::writeWholeFile(state, QByteArray("1;2\n"), "--snapshot").fault, files::WriteFault::Guarded);
    EXPECT_EQ(contentsOf(state), "{}");
    // A device guards nothing: writing it is refused for what it is.
    EXPECT_EQ(files::checkWriteTarget("/dev/null").fault, files::WriteFault::NotRegular);
    EXPECT_TRUE(files::writeWholeFile(dir.filePath("jiny.csv"), QByteArray("x")).ok());
    files::guardFiles({});
    EXPECT_TRUE(files::writeWholeFile(hardLink, QByteArray("x")).ok());
}

TEST(WholeFile, StaleTemporariesOfOursAreRemovedAtTheNextSaveAndNoOneElses) {
    QTemporaryDir dir;
    // The pid of a program that has ended (kill -9 between writing and renaming).
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string ours = files::temporaryName("mereni.csv");
    const std::string mine = std::to_string(::getpid()) + "@";
    auto withPid = [&](const std::string& name, pid_t pid) {
        std::string out = name;
        out.replace(out.find(mine), mine.size() - 1, std::to_string(pid));
        return QString::fromStdString(out);
    };
    const QString dead = withPid(ours, child);
    const QString running = withPid(ours, ::getppid());
    const QString otherHost = QString::fromStdString(ours).replace("@", "@jiny-pocitac.");
    const QString otherFile = QString::fromStdString(files::temporaryName("graf.png")).replace(
        QString::number(::getpid()), QString::number(child));
    for (const QString& name : {dead, running, otherHost, otherFile, QString("mereni.csv.XXXXXX")})
        ASSERT_TRUE(files::writeWholeFile(dir.filePath(name), QByteArray(1000, 'x')).ok());

    ASSERT_TRUE(files::writeWholeFile(dir.filePath("mereni.csv"), QByteArray("1;2\n")).ok());
    QStringList left = entries(dir);
    left.sort();
    QStringList expected{"mereni.csv", running, otherHost, otherFile, "mereni.csv.XXXXXX"};
    expected.sort();
    EXPECT_EQ(left, expected);
    EXPECT_EQ(files::removeStaleTemporaries(QFile::encodeName(dir.path()).toStdString(), "mereni.csv"), 0);
}

}  // namespace
