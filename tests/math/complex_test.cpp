// The complex arithmetic the sections are built on: division without
// overflow, the principal square root and its branch cut.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "math/complex.hpp"

namespace {

using ferravane::math::Complex;
namespace nw = ferravane::math;

double relative_distance(Complex got, Complex want) {
    return ferravane::math::abs(got - want) / ferravane::math::abs(want);
}

// (a b) / b gives a back, at magnitudes where |b|^2 would overflow or
// underflow, with either part of b the larger.
TEST(Complex, DivisionUndoesMultiplication) {
    const std::vector<std::pair<Complex, Complex>> cases = {
        {{1.0, 2.0}, {3.0, -4.0}},        {{-0.5, 0.25}, {1e-3, 7.0}},    {{1e-20, -1e-21}, {1e160, 1e159}},
        {{1e100, 3e99}, {2e-160, -1e-161}}, {{2.0, 0.0}, {0.0, 1e-200}}, {{0.0, 1.0}, {1e200, 1e200}},
    };
    for (const auto& [a, b] : cases) {
        const Complex q = (a * b) / b;
        EXPECT_LT(relative_distance(q, a), 4e-16) << a.re << " " << a.im << " / " << b.re << " " << b.im;
    }
}

// The principal root: real part >= 0, squares back to z, and the sign of a
// zero imaginary part picks the side of the cut on the negative axis.
TEST(Complex, PrincipalSquareRoot) {
    struct Case {
        Complex z;
        Complex want;
    };
    const std::vector<Case> cases = {
        {{4.0, 0.0}, {2.0, 0.0}},   {{-4.0, 0.0}, {0.0, 2.0}}, {{-4.0, -0.0}, {0.0, -2.0}},
        {{0.0, 2.0}, {1.0, 1.0}},   {{0.0, -2.0}, {1.0, -1.0}}, {{-3.0, 4.0}, {1.0, 2.0}},
        {{-3.0, -4.0}, {1.0, -2.0}}, {{3.0, -4.0}, {2.0, -1.0}},
        {{1e300, 1e300}, {1.09868411346781e150, 4.550898605622274e149}},
    };
    for (const auto& c : cases) {
        const Complex r = ferravane::math::sqrt(c.z);
        EXPECT_GE(r.re, 0.0);
        EXPECT_LT(relative_distance(r, c.want), 1e-14)
            << c.z.re << " " << c.z.im << " -> " << r.re << " " << r.im;
    }
}

}  // namespace
