#include <cmath>
#include <utility>

#include "math/math.hpp"
#include "math/complex.hpp"

namespace ferravane::math {

Complex operator/(Complex a, Complex b) {
    if (std::fabs(b.re) >= std::fabs(b.im)) {
        const double r = b.im / b.re;
        const double d = b.re + b.im * r;
        return {(a.re + a.im * r) / d, (a.im - a.re * r) / d};
    }
    const double r = b.re / b.im;
    const double d = b.re * r + b.im;
    return {(a.re * r + a.im) / d, (a.im * r - a.re) / d};
}

double abs(Complex z) {
    double a = std::fabs(z.re);
    double b = std::fabs(z.im);
    if (a < b) {
        std::swap(a, b);
    }
    if (b == 0.0) {
        return a;  // also an infinite a; a NaN stays NaN
    }
    const double r = b / a;
    return a * std::sqrt(1.0 + r * r);
}

Complex sqrt(Complex z) {
    if (z.re == 0.0 && z.im == 0.0) {
        return {0.0, z.im};
    }
    // Halves before the sum, so that neither can overflow; the root of the
    // larger of |z| +- Re z, then the other part from Im z = 2 re im.
    const double m = abs(z);
    if (z.re >= 0.0) {
        const double t = std::sqrt(0.5 * m + 0.5 * z.re);
        return {t, z.im / (2.0 * t)};
    }
    const double t = std::sqrt(0.5 * m - 0.5 * z.re);
    return {std::fabs(z.im) / (2.0 * t), std::copysign(t, z.im)};
}

Complex exp(Complex z) {
    const double m = math::exp(z.re);
    return {m * math::cos(z.im), m * math::sin(z.im)};
}

}  // namespace ferravane::math
