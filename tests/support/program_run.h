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

// A headless run that writes --state into `dir` and returns the parsed JSON
// (empty object when the run failed; see run.err).
QJsonObject runForState(const QTemporaryDir& dir, const QStringList& arguments, ProgramRun* run = nullptr);

QByteArray readFile(const QString& path);

}  // namespace testsupport
