#pragma once
// A sound server of a test's own (scripts/sound_server.sh in a temporary
// directory), for tests that stop, restart or freeze it without disturbing the
// server the other tests share. use() points this process's sound library at
// it (new connections only), and gives the old setting back at the end.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/types.h>

#include <csignal>
#include <cstdlib>
#include <string>

namespace realaudio_test {

class PrivateSoundServer {
public:
    PrivateSoundServer() { start(); }
    ~PrivateSoundServer() {
        thaw();
        stop();
        if (!saved_.empty()) setenv("PULSE_SERVER", saved_.c_str(), 1);
    }
    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

    const std::string& server() const { return server_; }
    bool started() const { return !server_.empty(); }

    void use() {
        if (const char* s = std::getenv("PULSE_SERVER")) saved_ = s;
        setenv("PULSE_SERVER", server_.c_str(), 1);
    }

    // Starts it (again, on the same socket).
    void start() {
        QProcess p;
        p.start("bash", {script(), "start", dir_.path()});
        p.waitForFinished(30000);
        for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
            if (line.startsWith("export PULSE_SERVER=")) server_ = line.mid(20).toStdString();
    }
    void stop() { QProcess::execute("bash", {script(), "stop", dir_.path()}); }

    // Freezes and thaws the server process (it stops answering, its socket stays).
    void freeze() { signal(SIGSTOP); frozen_ = true; }
    void thaw() {
        if (frozen_) signal(SIGCONT);
        frozen_ = false;
    }

private:
    static QString script() { return QStringLiteral(PRISTROJE_SOURCE_DIR "/scripts/sound_server.sh"); }
    void signal(int sig) const {
        QFile f(dir_.filePath("pulse.pid"));
        if (!f.open(QIODevice::ReadOnly)) return;
        const pid_t pid = static_cast<pid_t>(f.readAll().trimmed().toLong());
        if (pid > 0) ::kill(pid, sig);
    }

    QTemporaryDir dir_{QDir::tempPath() + "/pristroje-server.XXXXXX"};
    std::string server_;
    std::string saved_;
    bool frozen_ = false;
};

}  // namespace realaudio_test
