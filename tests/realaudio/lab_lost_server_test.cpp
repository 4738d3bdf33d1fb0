// The sound server stopped for good while a headless sweep waits for it: the
// run ends a few seconds later with code 1 and the device's text, the
// readouts said to be the last ones, the state written.
#include "private_sound_server.h"
#include "support/program_run.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

using realaudio_test::PrivateSoundServer;

TEST(LabLostServer, ASweepEndsWithinTheBoundOnceTheServerIsGone) {
    if (std::getenv("PRISTROJE_REALAUDIO") == nullptr) GTEST_SKIP() << "needs the test sound server";
    PrivateSoundServer server;
    ASSERT_TRUE(server.started());
    server.use();
    QTemporaryDir dir;
    const QString state = dir.filePath("state.json");
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PRISTROJE_BINARY), {"--headless", "--do", "lab:sweep=100..1000/40/lin", "--state",
                                                     state, "--print-readouts"});
    ASSERT_TRUE(program.waitForStarted());
    QThread::msleep(4000);  // a few steps into the sweep
    server.stop();
    QElapsedTimer sinceStop;
    sinceStop.start();
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_LT(sinceStop.elapsed(), 8000) << "the silence bound and a little more";
    const QByteArray err = program.readAllStandardError();
    EXPECT_EQ(program.exitCode(), 1) << err.constData();
    EXPECT_TRUE(err.contains("lab:sweep: stopped at step")) << err.constData();
    EXPECT_TRUE(program.readAllStandardOutput().startsWith("no live reading (the sound stopped)"));
    EXPECT_FALSE(testsupport::readFile(state).isEmpty());
}

}  // namespace
