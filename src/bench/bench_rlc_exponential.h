#pragma once
// e^(M t) for a 2 x 2 matrix M, in closed form: with tau half the trace and
// N = M - tau I, N^2 = (tau^2 - det) I, so
//   e^(M t) = e^(tau t) (cosh(s t) I + sinh(s t) / s N),  s^2 = tau^2 - det,
// with cos and sin for s^2 < 0. The real-eigenvalue case is computed from
// the eigenvalues themselves, the smaller one exactly, so a stiff matrix (one
// very fast and one slow decay) neither overflows nor loses the slow one.
namespace bench {

struct Matrix2 {
    double a = 0, b = 0;  // first row
    double c = 0, d = 0;  // second row
};

Matrix2 exponential(const Matrix2& m, double t);

}  // namespace bench
