#pragma once
// The command line of the program (a contract: tests and scripts rely on it).
#include "app/options.h"

#include <QString>
#include <optional>

namespace app {

struct ParseResult {
    std::optional<Options> options;  // empty: exit with `exitCode` after printing `message`
    int exitCode = 0;
    QString message;  // help, version, or the error
};

ParseResult parseCommandLine(const QStringList& arguments);

// Checks the form of one --do action; empty when it is well formed.
QString checkActionSyntax(const QString& action);

}  // namespace app
