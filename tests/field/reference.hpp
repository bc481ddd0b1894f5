// Exact impedances of zero-thickness centred lines from their conformal
// maps, with the complete elliptic integral by the arithmetic-geometric mean
// in long double: no MPFR, so the cross builds run these checks too.
#pragma once

#include <cmath>

namespace ferravane::field::reference {

inline constexpr long double kPiL = 3.141592653589793238462643383279502884L;
inline constexpr long double kEta0L = 376.730313668L;

// K(k) / K(k'), k' = sqrt(1 - k^2), given k and k' (each from its own
// formula, so that neither loses digits near 1).
inline long double k_ratio(long double k, long double kp) {
    auto agm = [](long double a, long double b) {
        for (int i = 0; i < 60 && a != b; ++i) {
            const long double m = (a + b) / 2.0L;
            b = std::sqrt(a * b);
            a = m;
        }
        return a;
    };
    // K(k) = pi / (2 agm(1, k')): the ratio is agm(1, k) / agm(1, k').
    return agm(1.0L, k) / agm(1.0L, kp);
}

// Single strip of width w between planes b apart, er = 1:
// eta0 / 4 K(k)/K(k'), k = sech(pi w / 2b).
inline long double single_strip(long double w_over_b) {
    const long double x = kPiL * w_over_b / 2.0L;
    const long double k = 1.0L / std::cosh(x);
    const long double kp = std::tanh(x);
    return kEta0L / 4.0L * k_ratio(k, kp);
}

// Centred pair, width w, gap s: the even and odd impedances.
struct PairZ {
    long double even, odd;
};
inline PairZ centred_pair(long double w_over_b, long double s_over_b) {
    const long double a = kPiL * w_over_b / 2.0L;
    const long double c = kPiL * (w_over_b + s_over_b) / 2.0L;
    const long double ke = std::tanh(a) * std::tanh(c);
    const long double ko = std::tanh(a) / std::tanh(c);
    // k' from 1 - k^2 written without cancellation where k is close to 1.
    const long double kpe = std::sqrt((1.0L - ke) * (1.0L + ke));
    const long double kpo = std::sqrt((1.0L - ko) * (1.0L + ko));
    // Z = eta0/4 K(k')/K(k): the moduli are the complements of the single strip's.
    return {kEta0L / 4.0L * k_ratio(kpe, ke), kEta0L / 4.0L * k_ratio(kpo, ko)};
}

}  // namespace ferravane::field::reference
