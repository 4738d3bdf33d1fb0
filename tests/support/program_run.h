#pragma once
// Runs the program binary with arguments and collects what it wrote.
#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace testsupport {

struct ProgramRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs pristroje with `arguments`; waits up to `timeoutMs`.
ProgramRun runProgram(const QStringList& arguments, int timeoutMs = 120000);

// How the program is run, beyond its arguments.
struct RunSetup {
    // The largest file the program may write, in bytes (RLIMIT_FSIZE, with
    // SIGXFSZ ignored, so that a write fails as on a full disk); -1: no limit.
    long long fileSizeLimit = -1;
    QString standardOutputFile;  // its standard output goes there instead of `out`
    QStringList unset;           // environment variables it does not get
};
ProgramRun runProgram(const QStringList& arguments, const RunSetup& setup, int timeoutMs = 120000);

// A headless run that writes --state into `dir` and returns the parsed JSON
// (empty object when the run did not end with `exitCode`; see run.err).
QJsonObject runForState(const QTemporaryDir& dir, const QStringList& arguments, ProgramRun* run = nullptr,
                        int exitCode = 0);

QByteArray readFile(const QString& path);

}  // namespace testsupport
