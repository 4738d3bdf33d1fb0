#include "app/scripting/bench_actions.h"

#include "app/session/session.h"
#include "bench/bench_driver.h"
#include "bench/bench_rlc_parse.h"

namespace app::scripting {
namespace {

constexpr QLatin1StringView kCircuit("bench:circuit=");

bool ownsBenchAction(const QString& action) { return action.startsWith(QLatin1String("bench:")); }

QString checkBenchAction(const QString& action) {
    if (!action.startsWith(kCircuit))
        return QStringLiteral("bad action \"%1\": expected bench:circuit=<R=..,L=..,C=..>").arg(action);
    const bench::BenchRlcParse parsed = bench::parseBenchRlc(action.mid(kCircuit.size()).toStdString());
    if (!parsed.load)
        return QStringLiteral("bad action \"%1\": %2").arg(action, QString::fromStdString(parsed.error));
    return {};
}

}  // namespace

const ActionFamily kBenchActions{
    "bench:circuit=<R=..,L=..,C=..>",
    "  bench:circuit=<description>    swap the bench's load between runs, as --bench-circuit describes it\n"
    "                                 (e.g. bench:circuit=R=47,L=100m,C=10u; with --audio=bench only)\n",
    ownsBenchAction,
    checkBenchAction,
};

QString performBenchAction(session::Session& session, const QString& action) {
    if (const QString bad = checkBenchAction(action); !bad.isEmpty()) return bad;
    bench::BenchDriver* bench = session.bench();
    if (bench == nullptr) return QStringLiteral("%1: this run has no bench (--audio=bench)").arg(action);
    const auto load = bench::parseBenchRlc(action.mid(kCircuit.size()).toStdString()).load;
    bench->changeLoad(load, bench->config().loadOhms);
    return {};
}

}  // namespace app::scripting
