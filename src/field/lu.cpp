#include "field/lu.hpp"

#include <cmath>
#include <cstddef>

namespace ferravane::field {

namespace {

// Row p's largest entry in column k among rows k.., or n when it is zero
// (or not a number).
std::size_t pivot_row(const std::vector<double>& a, std::size_t n, std::size_t k) {
    std::size_t p = k;
    double best = std::fabs(a[k * n + k]);
    for (std::size_t i = k + 1; i < n; ++i) {
        const double v = std::fabs(a[i * n + k]);
        if (v > best) {
            best = v;
            p = i;
        }
    }
    return (best == 0.0 || !std::isfinite(best)) ? n : p;
}

void swap_rows(std::vector<double>& a, std::size_t n, std::size_t r, std::size_t p) {
    if (p == r) return;
    for (std::size_t j = 0; j < n; ++j) {
        const double t = a[r * n + j];
        a[r * n + j] = a[p * n + j];
        a[p * n + j] = t;
    }
}

}  // namespace

// Eliminates two columns per pass over the trailing rows, which halves the
// memory traffic. Every entry still receives a[i][j] -= l_ik a[k][j] for
// k = 0, 1, ... in order, so the factors are those of plain elimination, bit
// for bit (tests/field/lu_test.cpp).
bool lu_factor(std::vector<double>& a, int n, std::vector<int>& pivots) {
    const auto un = static_cast<std::size_t>(n);
    pivots.assign(un, 0);
    std::size_t k = 0;
    for (; k + 1 < un; k += 2) {
        const std::size_t k1 = k + 1;
        // 1. Column k: pivot, swap, multipliers.
        const std::size_t p = pivot_row(a, un, k);
        if (p == un) return false;
        pivots[k] = static_cast<int>(p);
        swap_rows(a, un, k, p);
        const double inv = 1.0 / a[k * un + k];
        const double* rowk = &a[k * un];
        for (std::size_t i = k1; i < un; ++i) a[i * un + k] *= inv;
        // 2. Column k + 1 of the rows below, by step k alone: its pivot is chosen from it.
        for (std::size_t i = k1; i < un; ++i) a[i * un + k1] -= a[i * un + k] * rowk[k1];
        const std::size_t p1 = pivot_row(a, un, k1);
        if (p1 == un) return false;
        pivots[k1] = static_cast<int>(p1);
        swap_rows(a, un, k1, p1);  // rows carry their multiplier of step k with them
        // 3. Row k + 1 by step k, then the multipliers of step k + 1.
        double* row1 = &a[k1 * un];
        {
            const double l = row1[k];
            for (std::size_t j = k1 + 1; j < un; ++j) row1[j] -= l * rowk[j];
        }
        const double inv1 = 1.0 / row1[k1];
        // 4. The remaining rows by both steps, in their order.
        for (std::size_t i = k1 + 1; i < un; ++i) {
            double* rowi = &a[i * un];
            const double l0 = rowi[k];
            const double l1 = rowi[k1] * inv1;
            rowi[k1] = l1;
            for (std::size_t j = k1 + 1; j < un; ++j) rowi[j] = (rowi[j] - l0 * rowk[j]) - l1 * row1[j];
        }
    }
    if (k < un) {  // the last column of an odd order
        const std::size_t p = pivot_row(a, un, k);
        if (p == un) return false;
        pivots[k] = static_cast<int>(p);
        swap_rows(a, un, k, p);
    }
    return true;
}

void lu_solve(const std::vector<double>& a, int n, const std::vector<int>& pivots, double* b) {
    const auto un = static_cast<std::size_t>(n);
    for (std::size_t k = 0; k < un; ++k) {
        const auto p = static_cast<std::size_t>(pivots[k]);
        if (p != k) {
            const double t = b[k];
            b[k] = b[p];
            b[p] = t;
        }
    }
    for (std::size_t i = 1; i < un; ++i) {
        double s = b[i];
        for (std::size_t j = 0; j < i; ++j) s -= a[i * un + j] * b[j];
        b[i] = s;
    }
    for (std::size_t i = un; i-- > 0;) {
        double s = b[i];
        for (std::size_t j = i + 1; j < un; ++j) s -= a[i * un + j] * b[j];
        b[i] = s / a[i * un + i];
    }
}

}  // namespace ferravane::field
