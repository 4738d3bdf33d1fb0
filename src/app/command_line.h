#pragma once
// The command line of the program (a contract: tests and scripts rely on it):
// one table of options, and the families of --do actions handed in by the
// floor that performs them.
#include "app/action_family.h"
#include "app/options.h"

#include <QString>
#include <optional>
#include <span>

namespace app {

// Virtual time is counted in nanoseconds in 64 bits: a run of all its waits
// and --run-for together stays far within that (about 31 years).
inline constexpr double kLongestRunSeconds = 1e9;

struct ParseResult {
    std::optional<Options> options;  // empty: exit with `exitCode` after printing `message`
    int exitCode = 0;
    QString message;  // help, version, or the error
};

ParseResult parseCommandLine(const QStringList& arguments, std::span<const ActionFamily> families);

// Checks the form of one --do action against the families; "" when well formed.
QString checkAction(const QString& action, std::span<const ActionFamily> families);

}  // namespace app
