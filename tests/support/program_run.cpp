#include "support/program_run.h"

#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QProcessEnvironment>

#include <csignal>
#include <sys/resource.h>

namespace testsupport {

ProgramRun runProgram(const QStringList& arguments, int timeoutMs) {
    return runProgram(arguments, RunSetup{}, timeoutMs);
}

ProgramRun runProgram(const QStringList& arguments, const RunSetup& setup, int timeoutMs) {
    QProcess process;
    if (setup.fileSizeLimit >= 0) {
        const auto limit = static_cast<rlim_t>(setup.fileSizeLimit);
        process.setChildProcessModifier([limit] {
            // In the child, before exec: async-signal-safe calls only.
            ::signal(SIGXFSZ, SIG_IGN);
            const struct rlimit r{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &r);
        });
    }
    if (!setup.standardOutputFile.isEmpty()) process.setStandardOutputFile(setup.standardOutputFile);
    if (!setup.unset.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& name : setup.unset) environment.remove(name);
        process.setProcessEnvironment(environment);
    }
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

QJsonObject runForState(const QTemporaryDir& dir, const QStringList& arguments, ProgramRun* runOut, int exitCode) {
    const QString stateFile = dir.filePath(QStringLiteral("state.json"));
    QFile::remove(stateFile);
    ProgramRun run = runProgram(QStringList{QStringLiteral("--headless"), QStringLiteral("--state"), stateFile} +
                                arguments);
    if (runOut != nullptr) *runOut = run;
    if (run.exitCode != exitCode) return {};
    return QJsonDocument::fromJson(readFile(stateFile)).object();
}

}  // namespace testsupport
