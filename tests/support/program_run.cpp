#include "support/program_run.h"

#include <QFile>
#include <QJsonDocument>
#include <QProcess>

namespace testsupport {

ProgramRun runProgram(const QStringList& arguments, int timeoutMs) {
    QProcess process;
    process.start(QStringLiteral(PRISTROJE_BINARY), arguments);
    ProgramRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        run.err = "timed out";
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

QJsonObject runForState(const QTemporaryDir& dir, const QStringList& arguments, ProgramRun* runOut) {
    const QString stateFile = dir.filePath(QStringLiteral("state.json"));
    QFile::remove(stateFile);
    ProgramRun run = runProgram(QStringList{QStringLiteral("--headless"), QStringLiteral("--state"), stateFile} +
                                arguments);
    if (runOut != nullptr) *runOut = run;
    if (run.exitCode != 0) return {};
    return QJsonDocument::fromJson(readFile(stateFile)).object();
}

}  // namespace testsupport
