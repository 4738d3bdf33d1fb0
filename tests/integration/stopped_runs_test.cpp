// Headless runs that stop before their end: a failed action, a refused point
// while a record runs, a stop signal. Each says why, writes every output it
// still can and ends with its own code. And without a display the window is
// not tried: one line says how to run headless.
#include "support/program_run.h"

#include <QImage>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace {

TEST(StoppedRuns, AFailedActionEndsTheActionsButEveryOutputIsStillWritten) {
    QTemporaryDir dir;
    const QString png = dir.filePath("window.png");
    const QString table = dir.filePath("points.csv");
    testsupport::ProgramRun run;
    const QJsonObject state = testsupport::runForState(
        dir,
        {"--audio=bench", "--do", "lab:record=start", "--do",
         "lab:export=" + dir.filePath("no/such/folder/a.csv"), "--do", "lab:record=stop", "--do", "lab:export=" + table,
         "--snapshot", png},
        &run, 1);
    ASSERT_FALSE(state.isEmpty()) << run.err.constData();
    EXPECT_TRUE(run.err.contains("cannot write")) << run.err.constData();
    EXPECT_TRUE(run.err.contains("not done after the failure: lab:record=stop")) << run.err.constData();
    EXPECT_TRUE(state["lab"].toObject()["Recording"].toBool()) << "no action after the failure";
    EXPECT_FALSE(QImage(png).isNull());
    EXPECT_FALSE(testsupport::readFile(table).isEmpty()) << "the table is an output: written";

    // A point refused while a record runs is the point's failure, though the
    // record grows: code 2, and the state is written all the same.
    QTemporaryDir other;
    const QJsonObject refused = testsupport::runForState(
        other,
        {"--audio=bench", "--bench-input-gain", "50", "--do", "track:TrackBar1=32000", "--do", "lab:record=start",
         "--do", "lab:point"},
        &run, 2);
    ASSERT_FALSE(refused.isEmpty()) << run.err.constData();
    EXPECT_TRUE(run.err.contains("lab:point: the card's input is overloaded")) << run.err.constData();
    EXPECT_GT(refused["lab"].toObject()["Points"].toInt(), 0) << "the record went on";
}

TEST(StoppedRuns, AStopSignalWritesTheOutputsSaysSoAndEndsWith128PlusItsNumber) {
    QTemporaryDir dir;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const QString state = dir.filePath(QStringLiteral("state%1.json").arg(signal));
        QProcess program;
        program.start(QStringLiteral(PRISTROJE_BINARY),
                      {"--headless", "--audio=bench", "--run-for", "1000000", "--state", state});
        ASSERT_TRUE(program.waitForStarted());
        QThread::msleep(1500);  // well into the run
        ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), signal), 0);
        ASSERT_TRUE(program.waitForFinished(10000)) << "ends soon after the signal";
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 128 + signal);
        const QByteArray err = program.readAllStandardError();
        EXPECT_TRUE(err.contains("pristroje: stopped by SIG")) << err.constData();
        EXPECT_FALSE(testsupport::readFile(state).isEmpty()) << signal;
    }
}

TEST(StoppedRuns, WithoutADisplayTheWindowIsNotTriedAndTheRunSaysHowToRunHeadless) {
    testsupport::RunSetup noDisplay;
    noDisplay.unset = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"};
    const auto run = testsupport::runProgram({"--audio=bench"}, noDisplay, 20000);
    EXPECT_EQ(run.exitCode, 2) << run.err.constData();
    EXPECT_TRUE(run.err.contains("--headless")) << run.err.constData();
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData();
}

}  // namespace
