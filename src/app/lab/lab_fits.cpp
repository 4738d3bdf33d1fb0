// The lab session's fitted curves: one per run shown, and the marked peak.
#include "app/lab/lab_session.h"

#include <cmath>

namespace app::lab {
namespace {

// A value a logarithmic axis cannot show (0 or less).
bool offLog(const ::lab::GraphChoice& g, double x, double y) { return (g.logX && !(x > 0)) || (g.logY && !(y > 0)); }

}  // namespace

void LabSession::setFitModel(::lab::fit::Model model) {
    if (graph_.fit && model == fitModel_) return;
    fitModel_ = model;
    graph_.fit = true;
    refit();
    emit graphChanged();
}

QString LabSession::axesProblem() const {
    using ::lab::fit::Model;
    // On log-log axes a line of the values would be drawn as a curve that
    // says nothing (a power law is a line there, not this). On one log axis
    // it is drawn as it always was: the lab's sweeps chart a log frequency.
    if ((fitModel_ == Model::Line || fitModel_ == Model::Proportional) && graph_.logX && graph_.logY)
        return QStringLiteral("Nelze proložit: v logaritmických osách přímku neprokládám.");
    return {};
}

LabSession::GraphPoints LabSession::graphPoints(int run) const {
    GraphPoints out;
    const std::vector<double>& xs = record_.column(graph_.x);
    const std::vector<double>& ys = record_.column(graph_.y);
    for (std::size_t i = 0; i < xs.size(); ++i) {
        if (!shown(i) || (run != 0 && record_.runOf(i) != run)) continue;
        out.x.push_back(xs[i]);
        out.y.push_back(ys[i]);
        // What a logarithmic axis cannot show is not fitted on it either.
        out.flags.push_back(record_.flagged(i) || offLog(graph_, xs[i], ys[i]) ? 1 : 0);
    }
    return out;
}

std::size_t LabSession::offLogAxis() const {
    if (!graph_.logX && !graph_.logY) return 0;
    const std::vector<double>& xs = record_.column(graph_.x);
    const std::vector<double>& ys = record_.column(graph_.y);
    std::size_t count = 0;
    for (std::size_t i = 0; i < xs.size(); ++i)
        if (shown(i) && std::isfinite(xs[i]) && std::isfinite(ys[i]) && offLog(graph_, xs[i], ys[i])) ++count;
    return count;
}

const std::vector<LabSession::RunFit>& LabSession::runFits() const {
    if (runFits_) return *runFits_;
    runFits_.emplace();
    if (!graph_.fit || !axesProblem().isEmpty()) return *runFits_;
    for (const ::lab::Run& run : record_.runs()) {
        if (run.hidden || run.points == 0) continue;
        const GraphPoints points = graphPoints(run.id);
        if (fitModel_ == ::lab::fit::Model::Line) {
            // Points at one operating point make no line (the fitter's rule).
            ::lab::LineFitter line;
            for (std::size_t i = 0; i < points.x.size(); ++i)
                if (points.flags[i] == 0) line.add(points.x[i], points.y[i]);
            if (const QString problem = line.problem(); !problem.isEmpty()) {
                runFits_->push_back({run.id, {std::nullopt, problem}});
                continue;
            }
        }
        runFits_->push_back({run.id, ::lab::fit::fitPoints(fitModel_, points.points())});
    }
    return *runFits_;
}

const ::lab::fit::Fit* LabSession::newestFit() const {
    const std::vector<RunFit>& fits = runFits();
    return fits.empty() || !fits.back().result ? nullptr : &*fits.back().result.fit;
}

std::optional<::lab::fit::Peaks> LabSession::peaks() const {
    if (const ::lab::fit::Fit* fit = newestFit()) return ::lab::fit::peaksOf(*fit);
    const GraphPoints points = graphPoints(0);
    return ::lab::fit::peaksOf(points.points());
}

}  // namespace app::lab
