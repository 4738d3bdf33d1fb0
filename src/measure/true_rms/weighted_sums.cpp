#include "measure/true_rms/weighted_sums.h"

#include <cmath>

namespace measure {
namespace {
constexpr std::size_t kLanes = 4;
}

WeightedSums weightedSums(const float* x, const float* y, const double* w, std::size_t n) {
    double sx[kLanes] = {}, sy[kLanes] = {}, sxx[kLanes] = {}, syy[kLanes] = {}, sxy[kLanes] = {};
    std::size_t i = 0;
    for (; i + kLanes <= n; i += kLanes) {
        for (std::size_t k = 0; k < kLanes; ++k) {
            const double xi = x[i + k];
            const double yi = y[i + k];
            const double wx = w[i + k] * xi;
            const double wy = w[i + k] * yi;
            sx[k] += wx;
            sy[k] += wy;
            sxx[k] += wx * xi;
            syy[k] += wy * yi;
            sxy[k] += wx * yi;
        }
    }
    for (std::size_t k = 0; i < n; ++i, ++k) {
        const double xi = x[i];
        const double yi = y[i];
        sx[k] += w[i] * xi;
        sy[k] += w[i] * yi;
        sxx[k] += w[i] * xi * xi;
        syy[k] += w[i] * yi * yi;
        sxy[k] += w[i] * xi * yi;
    }
    WeightedSums s;
    for (std::size_t k = 0; k < kLanes; ++k) {
        s.x += sx[k];
        s.y += sy[k];
        s.xx += sxx[k];
        s.yy += syy[k];
        s.xy += sxy[k];
    }
    return s;
}

WeightedFourier weightedFourier(const float* x, const float* y, const double* w, std::size_t n, double omega) {
    // Lane k runs through cos, sin of omega (i + k), rotated by kLanes omega a step.
    double c[kLanes], s[kLanes];
    for (std::size_t k = 0; k < kLanes; ++k) {
        c[k] = std::cos(omega * static_cast<double>(k));
        s[k] = std::sin(omega * static_cast<double>(k));
    }
    const double stepCos = std::cos(omega * kLanes);
    const double stepSin = std::sin(omega * kLanes);
    double xc[kLanes] = {}, xs[kLanes] = {}, yc[kLanes] = {}, ys[kLanes] = {}, wc[kLanes] = {}, ws[kLanes] = {};
    std::size_t i = 0;
    for (; i + kLanes <= n; i += kLanes) {
        for (std::size_t k = 0; k < kLanes; ++k) {
            const double wcos = w[i + k] * c[k];
            const double wsin = w[i + k] * s[k];
            xc[k] += wcos * x[i + k];
            xs[k] += wsin * x[i + k];
            yc[k] += wcos * y[i + k];
            ys[k] += wsin * y[i + k];
            wc[k] += wcos;
            ws[k] += wsin;
            const double nc = c[k] * stepCos - s[k] * stepSin;
            s[k] = s[k] * stepCos + c[k] * stepSin;
            c[k] = nc;
        }
    }
    for (std::size_t k = 0; i < n; ++i, ++k) {  // the last frames, each on its lane's angle
        const double wcos = w[i] * c[k];
        const double wsin = w[i] * s[k];
        xc[k] += wcos * x[i];
        xs[k] += wsin * x[i];
        yc[k] += wcos * y[i];
        ys[k] += wsin * y[i];
        wc[k] += wcos;
        ws[k] += wsin;
    }
    WeightedFourier f;
    for (std::size_t k = 0; k < kLanes; ++k) {
        f.xRe += xc[k];
        f.xIm -= xs[k];
        f.yRe += yc[k];
        f.yIm -= ys[k];
        f.wRe += wc[k];
        f.wIm -= ws[k];
    }
    return f;
}

}  // namespace measure
