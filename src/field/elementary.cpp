#include "field/elementary.hpp"

#include <cmath>

#include "field/constants.hpp"
#include "math/math.hpp"

namespace ferravane::field {

namespace {

// Terms of the series, enough for |x| <= 2 to 2^-60.
constexpr int kTerms = 14;

// 1/(2k+1)!: each from the one before by one IEEE division at compile time.
struct Reciprocals {
    double odd[kTerms];
    double even[kTerms];  // 1/(2k)!
};
constexpr Reciprocals make_reciprocals() {
    Reciprocals r{};
    r.odd[0] = 1.0;
    r.even[0] = 1.0;
    for (int k = 1; k < kTerms; ++k) {
        r.odd[k] = r.odd[k - 1] / static_cast<double>((2 * k) * (2 * k + 1));
        r.even[k] = r.even[k - 1] / static_cast<double>((2 * k - 1) * (2 * k));
    }
    return r;
}
constexpr Reciprocals kRecip = make_reciprocals();

// sum_k x2^k / (2k+1)! (sinh x / x for x2 = x^2, sin x / x for x2 = -x^2), by Horner.
double odd_series(double x2) {
    double s = kRecip.odd[kTerms - 1];
    for (int k = kTerms - 2; k >= 0; --k) s = kRecip.odd[k] + x2 * s;
    return s;
}

double even_series(double x2) {
    double s = kRecip.even[kTerms - 1];
    for (int k = kTerms - 2; k >= 0; --k) s = kRecip.even[k] + x2 * s;
    return s;
}

}  // namespace

SinCos sin_cos(double x) {
    const double x2 = -(x * x);
    return {x * odd_series(x2), even_series(x2)};
}

double sinhc(double x) {
    const double a = std::fabs(x);
    if (a < 1.0) {
        return odd_series(x * x);
    }
    const double e = math::exp(a);
    return (e - 1.0 / e) / (2.0 * a);
}

double sinc(double x) { return odd_series(-(x * x)); }

double atan2(double y, double x) {
    if (x == 0.0 && y == 0.0) {
        return 0.0;
    }
    const double ay = std::fabs(y);
    const double ax = std::fabs(x);
    // The smaller over the larger keeps the atan argument within [0, 1].
    double a = ay <= ax ? math::atan(ay / ax) : kPi / 2.0 - math::atan(ax / ay);
    if (x < 0.0) {
        a = kPi - a;
    }
    return y < 0.0 ? -a : a;
}

void roots(Complex z, int q, Complex* out) {
    const double r = std::sqrt(norm2(z));
    if (q == 2) {
        // The principal square root without trigonometry.
        const double re = std::sqrt((r + std::fabs(z.re)) / 2.0);
        Complex w;
        if (re == 0.0) {
            w = {0.0, 0.0};
        } else if (z.re >= 0.0) {
            w = {re, z.im / (2.0 * re)};
        } else {
            w = {std::fabs(z.im) / (2.0 * re), z.im < 0.0 ? -re : re};
        }
        out[0] = w;
        out[1] = {-w.re, -w.im};
        return;
    }
    const double m = r == 0.0 ? 0.0 : math::pow(r, 1.0 / 3.0);
    const double theta = atan2(z.im, z.re) / 3.0;
    // 2 pi / 3 apart: the rotations by +-120 degrees.
    constexpr double kC = -0.5;
    constexpr double kS = 0.8660254037844386;  // sqrt(3)/2
    const SinCos sc = sin_cos(theta);
    const Complex w{m * sc.c, m * sc.s};
    out[0] = w;
    out[1] = Complex{kC, kS} * w;
    out[2] = Complex{kC, -kS} * w;
}

}  // namespace ferravane::field
