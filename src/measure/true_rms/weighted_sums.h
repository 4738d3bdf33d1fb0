#pragma once
// The weighted sums the true-RMS meter reads its two channels from, over n
// frames of each channel with one weight per frame. Both passes keep four
// independent partial sums, which lets the compiler do two frames per
// instruction.
#include <cstddef>

namespace measure {

struct WeightedSums {
    double x = 0, y = 0;             // sum w x, sum w y
    double xx = 0, yy = 0, xy = 0;   // sum w x x, sum w y y, sum w x y
};

WeightedSums weightedSums(const float* x, const float* y, const double* w, std::size_t n);

// Sums of w e^{-j omega i} times x_i, y_i and 1 (i = 0 .. n - 1): the
// channels' weighted Fourier coefficients at omega radians per frame, and the
// window's own, to take a mean out of the others.
struct WeightedFourier {
    double xRe = 0, xIm = 0;
    double yRe = 0, yIm = 0;
    double wRe = 0, wIm = 0;
};

WeightedFourier weightedFourier(const float* x, const float* y, const double* w, std::size_t n, double omega);

}  // namespace measure
