#include "bench/bench_rlc_exponential.h"

#include <cmath>

namespace bench {

Matrix2 exponential(const Matrix2& m, double t) {
    const double tau = (m.a + m.d) / 2;
    const double det = m.a * m.d - m.b * m.c;
    // tau^2 - det, without squaring a large tau.
    const double disc = tau != 0 ? tau * tau * (1 - det / tau / tau) : -det;
    double p = 0;  // e^(tau t) cosh(s t)
    double q = 0;  // e^(tau t) sinh(s t) / s
    if (disc > 0) {
        const double s = std::sqrt(disc);
        if (tau < 0) {
            // Eigenvalues near = tau + s (as det / far, exactly) and far = tau - s:
            // e^(far t) = e^(near t) (1 - ratio).
            const double far = tau - s;
            const double near = det / far;
            const double e = std::exp(near * t);
            const double ratio = -std::expm1((far - near) * t);
            p = e * (2 - ratio) / 2;
            q = e * ratio / (near - far);
        } else {
            const double big = std::exp((tau + s) * t);
            const double small = std::exp((tau - s) * t);
            p = (big + small) / 2;
            q = (big - small) / (2 * s);
        }
    } else if (disc < 0) {
        const double w = std::sqrt(-disc);
        const double e = std::exp(tau * t);
        p = e * std::cos(w * t);
        q = e * std::sin(w * t) / w;
    } else {
        p = std::exp(tau * t);
        q = t * p;
    }
    return {p + q * (m.a - tau), q * m.b, q * m.c, p + q * (m.d - tau)};
}

}  // namespace bench
