// The class view of the program itself: off unless asked (no port of the
// program listens), --class-view refuses what it cannot use, and headless it
// serves the token's link only, the state without file paths.
#include "support/program_run.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// The TCP ports the process listens on, from /proc (its sockets' inodes in the kernel's table).
QList<int> listeningPorts(qint64 pid) {
    QSet<QString> inodes;
    for (const QFileInfo& fd : QDir(QStringLiteral("/proc/%1/fd").arg(pid)).entryInfoList(QDir::System)) {
        const QString target = fd.symLinkTarget().isEmpty() ? QFile::symLinkTarget(fd.filePath()) : fd.symLinkTarget();
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("socket:\\[(\\d+)\\]")).match(target);
        if (m.hasMatch()) inodes.insert(m.captured(1));
    }
    QList<int> ports;
    for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        QFile f(QString::fromLatin1(table));
        if (!f.open(QIODevice::ReadOnly)) continue;
        for (const QByteArray& line : f.readAll().split('\n')) {
            const QList<QByteArray> cells = line.simplified().split(' ');
            if (cells.size() > 9 && cells[3] == "0A" && inodes.contains(QString::fromLatin1(cells[9])))
                ports << cells[1].split(':').last().toInt(nullptr, 16);
        }
    }
    return ports;
}

QProcessEnvironment privateEnvironment(const QTemporaryDir& dir) {
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    e.insert(QStringLiteral("HOME"), dir.path());
    e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return e;
}

TEST(ClassView, WithoutTheOptionNoPortListensAndWithItOnlyTheLinkIsServed) {
    QTemporaryDir dir;
    // The window (offscreen) for two seconds, the class view never started.
    QProcess window;
    window.setProcessEnvironment(privateEnvironment(dir));
    window.start(QStringLiteral(PRISTROJE_BINARY), {"--audio=bench", "--lab"});
    ASSERT_TRUE(window.waitForStarted());
    QThread::msleep(2000);
    EXPECT_TRUE(listeningPorts(window.processId()).isEmpty());
    window.kill();
    window.waitForFinished();

    // A port that is taken, and a place that is no place.
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::LocalHost));
    testsupport::ProgramRun run = testsupport::runProgram(
        {"--headless", "--audio=bench", "--class-view", QStringLiteral("127.0.0.1:%1").arg(taken.serverPort())});
    EXPECT_EQ(run.exitCode, 1) << run.err.constData();
    EXPECT_TRUE(run.err.contains("the class view cannot start")) << run.err.constData();
    for (const char* bad : {"127.0.0.1:99999", "nowhere:80", "::1:8080", ""})
        EXPECT_EQ(testsupport::runProgram({"--headless", "--audio=bench", "--class-view", bad}).exitCode, 2) << bad;

    // Headless it says its link on standard output, serves --run-for seconds of the wall clock.
    QProcess served;
    served.setProcessEnvironment(privateEnvironment(dir));
    served.start(QStringLiteral(PRISTROJE_BINARY),
                 {"--headless", "--audio=bench", "--class-view", "127.0.0.1:0", "--run-for", "3"});
    ASSERT_TRUE(served.waitForStarted());
    ASSERT_TRUE(served.waitForReadyRead(10000));
    const QString line = QString::fromUtf8(served.readLine()).trimmed();
    const QRegularExpressionMatch link =
        QRegularExpression(QStringLiteral("^class-view (http://127\\.0\\.0\\.1:(\\d+)/)\\?k=([A-Za-z0-9_-]{22,})$")).match(line);
    ASSERT_TRUE(link.hasMatch()) << line.toStdString();
    EXPECT_EQ(listeningPorts(served.processId()), QList<int>{link.captured(2).toInt()});
    const auto get = [](const QString& url) {
        QProcess curl;
        curl.start(QStringLiteral("python3"),
                   {"-c", "import sys, urllib.request, urllib.error\n"
                          "try:\n  r = urllib.request.urlopen(sys.argv[1]); print(r.status); sys.stdout.write(r.read().decode())\n"
                          "except urllib.error.HTTPError as e: print(e.code)\n",
                    url});
        curl.waitForFinished(10000);
        return QString::fromUtf8(curl.readAllStandardOutput());
    };
    EXPECT_TRUE(get(link.captured(1) + QStringLiteral("state.json")).startsWith(QStringLiteral("403")));
    const QString state = get(link.captured(1) + QStringLiteral("state.json?k=") + link.captured(3));
    ASSERT_TRUE(state.startsWith(QStringLiteral("200"))) << state.toStdString();
    const QJsonObject s = QJsonDocument::fromJson(state.section(QLatin1Char('\n'), 1).toUtf8()).object();
    EXPECT_TRUE(s.contains(QStringLiteral("circuit")));
    EXPECT_FALSE(state.contains(dir.path())) << "a file path reached the students";
    ASSERT_TRUE(served.waitForFinished(15000));
    EXPECT_EQ(served.exitCode(), 0) << served.readAllStandardError().constData();
}

}  // namespace
