// S-parameters of a section of one mode, of a coupled pair from its even
// and odd modes, and the pair's mixed-mode form; the checks of their inputs.
#include <cmath>

#include "network/network.hpp"

namespace ferravane::network {

namespace {

constexpr Complex kOne{1.0, 0.0};

// A line of characteristic impedance zc between ports referenced to z0,
// summed over its reflections: with G = (zc - z0) / (zc + z0) and
// P = e^(-gamma length),
//   S11 = S22 = G (1 - P^2) / (1 - G^2 P^2),  S21 = S12 = P (1 - G^2) / (1 - G^2 P^2).
// The same as the ABCD matrix [[cosh, zc sinh], [sinh / zc, cosh]] turned
// into S, but |P| <= 1: no cosh to overflow on a long lossy line.
TwoPort line_section(const Propagation& p, double length_m, double z0) {
    const Complex big_p = exp(-(length_m * p.gamma));
    const Complex zr{z0, 0.0};
    const Complex g = (p.zc - zr) / (p.zc + zr);
    const Complex p2 = big_p * big_p;
    const Complex g2 = g * g;
    const Complex den = kOne - g2 * p2;
    const Complex s11 = g * (kOne - p2) / den;
    const Complex s21 = big_p * (kOne - g2) / den;
    return {{{s11, s21}, {s21, s11}}};
}

// A series resistance between ports referenced to z0.
TwoPort series_resistance(double rs, double z0) {
    const double den = rs + 2.0 * z0;
    const Complex s11{rs / den, 0.0};
    const Complex s21{(2.0 * z0) / den, 0.0};
    return {{{s11, s21}, {s21, s11}}};
}

bool finite_at_least(double v, double low) { return v >= low && v < HUGE_VAL; }
bool finite_above(double v, double low) { return v > low && v < HUGE_VAL; }

}  // namespace

TwoPort single_section(const Mode& mode, double r_ohm_per_m, const Medium& medium, double f_hz,
                       double length_m, double z0) {
    if (f_hz == 0.0) {
        return series_resistance(r_ohm_per_m * length_m, z0);
    }
    return line_section(propagation(mode, r_ohm_per_m, medium, f_hz), length_m, z0);
}

FourPort pair_section(const Mode& even, double r_even, const Mode& odd, double r_odd, const Medium& medium,
                      double f_hz, double length_m, double z0) {
    const TwoPort e = single_section(even, r_even, medium, f_hz, length_m, z0);
    const TwoPort o = single_section(odd, r_odd, medium, f_hz, length_m, z0);
    // Port i lies on strip i / 2 at end i % 2. Driving both strips alike
    // excites the even mode alone, driving them in opposition the odd
    // mode: along a strip the modes add, across to the other they subtract.
    FourPort out;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const Complex se = e.s[i % 2][j % 2];
            const Complex so = o.s[i % 2][j % 2];
            out.s[i][j] = 0.5 * (i / 2 == j / 2 ? se + so : se - so);
        }
    }
    return out;
}

FourPort mixed_mode(const FourPort& se) {
    // Each differential or common wave is (a_p +- a_q) / sqrt(2) of a pair
    // of single-ended ports: rows of an orthogonal M, and S_mm = M S M^T,
    // the two factors 1/sqrt(2) making one exact 1/2. The four terms are
    // added in pairs, the straight ones and the crossed ones, so that a
    // reciprocal S gives an exactly symmetric S_mm.
    struct Wave {
        int p;
        int q;
        bool minus;  // differential: the second port counts negative
    };
    constexpr Wave waves[4] = {{0, 2, true}, {1, 3, true}, {0, 2, false}, {1, 3, false}};
    const auto term = [&se](int p, int q, bool negative) { return negative ? -se.s[p][q] : se.s[p][q]; };
    FourPort out;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const Wave& a = waves[i];
            const Wave& b = waves[j];
            const Complex straight = term(a.p, b.p, false) + term(a.q, b.q, a.minus != b.minus);
            const Complex crossed = term(a.p, b.q, b.minus) + term(a.q, b.p, a.minus);
            out.s[i][j] = 0.5 * (straight + crossed);
        }
    }
    return out;
}

std::string_view section_input_error(const Mode& mode, double r_ohm_per_m, const Medium& medium, double f_hz,
                                     double length_m, double z0) {
    if (!finite_above(mode.z_air, 0.0)) return "the air-filled impedance must be a positive number of ohms";
    if (!finite_at_least(r_ohm_per_m, 0.0)) return "the series resistance must be zero or positive";
    if (!finite_at_least(medium.er, 1.0)) return "Er must be at least 1";
    if (!finite_at_least(medium.tand, 0.0)) return "the loss tangent must be zero or positive";
    if (!finite_at_least(f_hz, 0.0)) return "the frequency must be zero or positive";
    if (!finite_at_least(length_m, 0.0)) return "the length must be zero or positive";
    if (!finite_above(z0, 0.0)) return "the reference impedance must be positive";
    if (medium.model == Dielectric::djordjevic) {
        if (!finite_above(medium.f_ref_hz, 0.0)) return "the reference frequency must be positive";
        if (!finite_above(medium.f_low_hz, 0.0) || !finite_above(medium.f_high_hz, medium.f_low_hz)) {
            return "the wideband Debye band needs 0 < f_low < f_high";
        }
        if (!(debye_fit(medium).eps_inf >= 1.0)) {
            return "the loss tangent is too large for the wideband Debye model at this Er (eps_inf below 1)";
        }
    }
    return {};
}

}  // namespace ferravane::network
