// Two instances of the program on one sound card (ALSA's "null" PCM, which
// needs no hardware): the second says the card is in use and by which
// instance, the first that another one now disturbs its output, and that it
// has the card to itself again when the other has gone.
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

TEST(CardSharing, TheSecondInstanceSaysWhoHasTheCardAndTheFirstThatItIsDisturbed) {
    QTemporaryDir runtime;  // the instances' shared folder, private to this test
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    const QStringList card{"--headless",      "--audio=alsa", "--input-device", "null", "--output-device",
                           "null",            "--mixer-device", "nosuchmixer"};
    QProcess first;
    first.setProcessEnvironment(environment);
    first.setReadChannel(QProcess::StandardError);
    first.start(QStringLiteral(PRISTROJE_BINARY), card + QStringList{"--run-for", "8"});
    ASSERT_TRUE(first.waitForStarted());
    const QByteArray firstPid = QByteArray::number(first.processId());
    const QString lock = QDir(runtime.path()).filePath(QStringLiteral("pristroje-cards/null.lock"));
    // The lock is taken before the devices are opened; the first watches the
    // folder only once its start is over, which it says by the mixer's error.
    QByteArray firstSays;
    QDeadlineTimer started(20000);
    while (!firstSays.contains("No mixer device") && !started.hasExpired()) {
        first.waitForReadyRead(100);
        firstSays += first.readAllStandardError();
    }
    ASSERT_TRUE(QFile::exists(lock)) << firstSays.constData();

    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(PRISTROJE_BINARY), card + QStringList{"--run-for", "1.5"});
    ASSERT_TRUE(second.waitForStarted());
    const QByteArray secondPid = QByteArray::number(second.processId());
    ASSERT_TRUE(second.waitForFinished(20000));
    const QByteArray secondSays = second.readAllStandardError();
    EXPECT_TRUE(secondSays.contains("the sound card 'null' is in use by another instance of this program (pid " + firstPid +
                                    ", since "))
        << secondSays.constData();
    const bool firstStillRunning = first.state() == QProcess::Running;

    ASSERT_TRUE(first.waitForFinished(20000));
    firstSays += first.readAllStandardError();
    EXPECT_TRUE(firstSays.contains("another instance of this program (pid " + secondPid +
                                   ", since "))
        << firstSays.constData();
    ASSERT_TRUE(firstStillRunning) << "the machine is too slow for this test's 8 s";
    EXPECT_TRUE(firstSays.contains("the sound card 'null' is this instance's alone again")) << firstSays.constData();
    EXPECT_FALSE(QFile::exists(lock)) << "the lock goes with its program";
}

}  // namespace
