#pragma once
// The bench's --do actions: bench:circuit=<description> swaps the bench's
// load as a teacher swaps a part between two runs ("R=47,L=100m,C=10u", the
// form of --bench-circuit). Only with --audio=bench.
#include "app/action_family.h"

#include <QString>

namespace app::session {
class Session;
}

namespace app::scripting {

extern const ActionFamily kBenchActions;

// "" when done, else why it cannot be (no bench in this run).
QString performBenchAction(session::Session& session, const QString& action);

}  // namespace app::scripting
