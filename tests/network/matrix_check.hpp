// Checks on S-matrices for the tests: the largest singular value (a passive
// network has none above 1) and the distance of S^H S from the identity (a
// lossless one is unitary).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "math/complex.hpp"

namespace ferravane::network::check {

using math::Complex;

// (S^H S)[i][j].
template <std::size_t N>
Complex gram(const Complex (&s)[N][N], std::size_t i, std::size_t j) {
    Complex h;
    for (std::size_t k = 0; k < N; ++k) {
        h = h + Complex{s[k][i].re, -s[k][i].im} * s[k][j];
    }
    return h;
}

// The Hermitian S^H S = A + jB has the eigenvalues of the symmetric
// [[A, -B], [B, A]], each twice; cyclic Jacobi rotations find them.
template <std::size_t N>
double largest_singular_value(const Complex (&s)[N][N]) {
    constexpr std::size_t m = 2 * N;
    double a[m][m];
    for (std::size_t i = 0; i < N; ++i) {
        for (std::size_t j = 0; j < N; ++j) {
            const Complex h = gram(s, i, j);
            a[i][j] = h.re;
            a[i + N][j + N] = h.re;
            a[i][j + N] = -h.im;
            a[i + N][j] = h.im;
        }
    }
    for (int sweep = 0; sweep < 60; ++sweep) {
        double off = 0.0;
        double diag = 0.0;
        for (std::size_t p = 0; p < m; ++p) {
            diag += a[p][p] * a[p][p];
            for (std::size_t q = p + 1; q < m; ++q) off += a[p][q] * a[p][q];
        }
        if (off <= 1e-34 * diag) break;
        for (std::size_t p = 0; p < m; ++p) {
            for (std::size_t q = p + 1; q < m; ++q) {
                if (a[p][q] == 0.0) continue;
                const double theta = (a[q][q] - a[p][p]) / (2.0 * a[p][q]);
                const double t =
                    (theta >= 0.0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0);
                const double sn = t * c;
                for (std::size_t k = 0; k < m; ++k) {
                    const double kp = a[k][p];
                    const double kq = a[k][q];
                    a[k][p] = c * kp - sn * kq;
                    a[k][q] = sn * kp + c * kq;
                }
                for (std::size_t k = 0; k < m; ++k) {
                    const double pk = a[p][k];
                    const double qk = a[q][k];
                    a[p][k] = c * pk - sn * qk;
                    a[q][k] = sn * pk + c * qk;
                }
            }
        }
    }
    double top = 0.0;
    for (std::size_t p = 0; p < m; ++p) top = std::max(top, a[p][p]);
    return std::sqrt(top);
}

template <std::size_t N>
double distance_from_unitary(const Complex (&s)[N][N]) {
    double worst = 0.0;
    for (std::size_t i = 0; i < N; ++i) {
        for (std::size_t j = 0; j < N; ++j) {
            worst = std::max(worst, abs(gram(s, i, j) - Complex{i == j ? 1.0 : 0.0, 0.0}));
        }
    }
    return worst;
}

template <std::size_t N>
bool symmetric(const Complex (&s)[N][N]) {
    for (std::size_t i = 0; i < N; ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (s[i][j].re != s[j][i].re || s[i][j].im != s[j][i].im) return false;
        }
    }
    return true;
}

}  // namespace ferravane::network::check
