#include "lab/fit/least_squares.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_multifit_nlinear.h>

#include <cmath>
#include <memory>
#include <mutex>

namespace lab::fit {
namespace {

constexpr std::size_t kMaxIterations = 200;
constexpr double kStepTolerance = 1e-10;      // relative change of θ
constexpr double kGradientTolerance = 1e-12;  // of the scaled gradient
constexpr double kCostTolerance = 0;          // not used

struct Problem {
    const Curve& curve;
    const std::vector<double>& x;
    std::vector<double> y;  // 1/y for a reciprocal curve
};

int residuals(const gsl_vector* theta, void* data, gsl_vector* f) {
    const auto& problem = *static_cast<const Problem*>(data);
    const double* t = gsl_vector_const_ptr(theta, 0);
    for (std::size_t i = 0; i < problem.x.size(); ++i) {
        const double r = problem.curve.value(problem.x[i], t, nullptr) - problem.y[i];
        if (!std::isfinite(r)) return GSL_EDOM;
        gsl_vector_set(f, i, r);
    }
    return GSL_SUCCESS;
}

int jacobian(const gsl_vector* theta, void* data, gsl_matrix* j) {
    const auto& problem = *static_cast<const Problem*>(data);
    const double* t = gsl_vector_const_ptr(theta, 0);
    for (std::size_t i = 0; i < problem.x.size(); ++i) {
        // A row of the matrix is contiguous: the derivatives go straight in.
        double* row = gsl_matrix_ptr(j, i, 0);
        problem.curve.value(problem.x[i], t, row);
        for (std::size_t k = 0; k < problem.curve.count; ++k)
            if (!std::isfinite(row[k])) return GSL_EDOM;
    }
    return GSL_SUCCESS;
}

// GSL's default handler aborts the program; every call here checks its status instead.
void quietGsl() {
    static std::once_flag once;
    std::call_once(once, [] { gsl_set_error_handler_off(); });
}

struct WorkspaceFree {
    void operator()(gsl_multifit_nlinear_workspace* w) const { gsl_multifit_nlinear_free(w); }
};
struct MatrixFree {
    void operator()(gsl_matrix* m) const { gsl_matrix_free(m); }
};

}  // namespace

LeastSquaresOutcome leastSquares(const Curve& curve, const UsedPoints& points, const Theta& start) {
    quietGsl();
    const std::size_t count = curve.count;
    Problem problem{curve, points.x, points.y};
    if (curve.reciprocal)
        for (double& y : problem.y) y = 1 / y;
    gsl_multifit_nlinear_fdf fdf{};
    fdf.f = residuals;
    fdf.df = jacobian;
    fdf.fvv = nullptr;
    fdf.n = points.size();
    fdf.p = count;
    fdf.params = &problem;

    gsl_multifit_nlinear_parameters parameters = gsl_multifit_nlinear_default_parameters();
    const std::unique_ptr<gsl_multifit_nlinear_workspace, WorkspaceFree> workspace(
        gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &parameters, points.size(), count));
    const std::unique_ptr<gsl_matrix, MatrixFree> inverse(gsl_matrix_alloc(count, count));
    if (!workspace || !inverse) return {std::nullopt, "out of memory"};

    Theta theta = start;
    gsl_vector_view initial = gsl_vector_view_array(theta.data(), count);
    int status = gsl_multifit_nlinear_init(&initial.vector, &fdf, workspace.get());
    if (status != GSL_SUCCESS) return {std::nullopt, std::string("at the start: ") + gsl_strerror(status)};
    int info = 0;
    status = gsl_multifit_nlinear_driver(kMaxIterations, kStepTolerance, kGradientTolerance, kCostTolerance,
                                         nullptr, nullptr, &info, workspace.get());
    if (status != GSL_SUCCESS) return {std::nullopt, gsl_strerror(status)};

    LeastSquares solution;
    const gsl_vector* position = gsl_multifit_nlinear_position(workspace.get());
    for (std::size_t k = 0; k < count; ++k) solution.theta[k] = gsl_vector_get(position, k);
    const gsl_vector* f = gsl_multifit_nlinear_residual(workspace.get());
    solution.residualSquares = 0;
    for (std::size_t i = 0; i < points.size(); ++i) solution.residualSquares += gsl_vector_get(f, i) * gsl_vector_get(f, i);
    solution.iterations = gsl_multifit_nlinear_niter(workspace.get());
    status = gsl_multifit_nlinear_covar(gsl_multifit_nlinear_jac(workspace.get()), 0.0, inverse.get());
    if (status != GSL_SUCCESS) return {std::nullopt, std::string("covariance: ") + gsl_strerror(status)};
    solution.inverse.resize(count * count);
    for (std::size_t r = 0; r < count; ++r)
        for (std::size_t c = 0; c < count; ++c) solution.inverse[r * count + c] = gsl_matrix_get(inverse.get(), r, c);
    return {solution, {}};
}

}  // namespace lab::fit
