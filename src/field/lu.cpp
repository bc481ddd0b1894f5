#include "field/lu.hpp"

#include <cmath>
#include <cstddef>

namespace ferravane::field {

bool lu_factor(std::vector<double>& a, int n, std::vector<int>& pivots) {
    const auto un = static_cast<std::size_t>(n);
    pivots.assign(un, 0);
    for (std::size_t k = 0; k < un; ++k) {
        std::size_t p = k;
        double best = std::fabs(a[k * un + k]);
        for (std::size_t i = k + 1; i < un; ++i) {
            const double v = std::fabs(a[i * un + k]);
            if (v > best) {
                best = v;
                p = i;
            }
        }
        if (best == 0.0 || !std::isfinite(best)) return false;
        pivots[k] = static_cast<int>(p);
        if (p != k) {
            for (std::size_t j = 0; j < un; ++j) {
                const double t = a[k * un + j];
                a[k * un + j] = a[p * un + j];
                a[p * un + j] = t;
            }
        }
        const double inv = 1.0 / a[k * un + k];
        const double* rowk = &a[k * un];
        for (std::size_t i = k + 1; i < un; ++i) {
            double* rowi = &a[i * un];
            const double l = rowi[k] * inv;
            rowi[k] = l;
            for (std::size_t j = k + 1; j < un; ++j) rowi[j] -= l * rowk[j];
        }
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
