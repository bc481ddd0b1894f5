// Sections of one strip and of a coupled pair: passive and reciprocal at
// every point with either dielectric model, the closed form against the
// ABCD matrix, lossless lines unitary with phase beta L, resonant lengths,
// the pair's decoupling and mixed-mode form, the small-loss attenuation,
// and the refusal of inputs that describe no line.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "matrix_check.hpp"
#include "network/network.hpp"

namespace {

namespace nw = ferravane::network;
namespace check = ferravane::network::check;
using nw::Complex;
using nw::Dielectric;

constexpr double kPi = 3.141592653589793;
constexpr double c0 = nw::kSpeedOfLight;

struct Line {
    const char* name;
    double z_air;  // ohms
    double r;      // ohms per metre
    double er;
    double tand;
    Dielectric model;
    double f_ref;
    double f;
    double length;
    double z0;
};

nw::Medium medium(const Line& l) { return {l.er, l.tand, l.model, l.f_ref}; }

nw::TwoPort single(const Line& l) {
    return nw::single_section({l.z_air}, l.r, medium(l), l.f, l.length, l.z0);
}

// The odd mode of a pair: lower impedance, more conductor loss.
nw::FourPort pair(const Line& l) {
    return nw::pair_section({l.z_air}, l.r, {0.8 * l.z_air}, 1.25 * l.r, medium(l), l.f, l.length, l.z0);
}

const std::vector<Line> kLines = {
    {"fr4_1ghz", 103.68, 2.0, 4.3, 0.02, Dielectric::constant, 1e9, 1e9, 0.1, 50.0},
    {"fr4_1ghz_debye", 103.68, 2.0, 4.3, 0.02, Dielectric::djordjevic, 1e9, 1e9, 0.1, 50.0},
    {"ptfe_10ghz_debye", 73.9, 8.0, 2.2, 0.0009, Dielectric::djordjevic, 1e10, 1e10, 0.5, 50.0},
    {"low_z_3ghz", 34.64, 30.0, 3.0, 0.01, Dielectric::constant, 1e9, 3e9, 0.05, 50.0},
    {"high_z_25ghz_ref_42", 150.0, 5.0, 2.5, 0.002, Dielectric::djordjevic, 1e9, 2.5e10, 0.02, 42.5},
    {"long_lossy_50ghz", 100.0, 200.0, 4.3, 0.03, Dielectric::constant, 1e9, 5e10, 10.0, 50.0},
    {"long_lossy_debye", 100.0, 200.0, 4.3, 0.03, Dielectric::djordjevic, 1e9, 5e10, 10.0, 50.0},
    {"phase_near_1e8_rad", 80.0, 0.0, 2.2, 0.0, Dielectric::constant, 1e9, 1e11, 3e4, 50.0},
    {"dc", 100.0, 50.0, 4.3, 0.02, Dielectric::constant, 1e9, 0.0, 0.3, 50.0},
    {"zero_length", 100.0, 50.0, 4.3, 0.02, Dielectric::djordjevic, 1e9, 2e9, 0.0, 50.0},
};

// The checker itself: it must see singular values above 1.
TEST(MatrixCheck, FindsTheLargestSingularValue) {
    const nw::TwoPort unitary{{{{0.6, 0.0}, {0.0, 0.8}}, {{0.0, 0.8}, {0.6, 0.0}}}};
    const nw::TwoPort gain{{{{0.5, 0.0}, {0.0, 0.0}}, {{0.0, 0.0}, {0.0, -2.0}}}};
    const nw::TwoPort rank_one{{{{1.0, 0.0}, {1.0, 0.0}}, {{0.0, 0.0}, {0.0, 0.0}}}};
    EXPECT_NEAR(check::largest_singular_value(unitary.s), 1.0, 1e-15);
    EXPECT_NEAR(check::largest_singular_value(gain.s), 2.0, 1e-15);
    EXPECT_NEAR(check::largest_singular_value(rank_one.s), std::sqrt(2.0), 1e-15);
    EXPECT_LT(check::distance_from_unitary(unitary.s), 1e-15);
    EXPECT_GT(check::distance_from_unitary(gain.s), 1.0);
}

TEST(Section, PassiveAndReciprocal) {
    for (const Line& l : kLines) {
        const nw::TwoPort s = single(l);
        const nw::FourPort p = pair(l);
        const nw::FourPort mm = nw::mixed_mode(p);
        EXPECT_LE(check::largest_singular_value(s.s), 1.0 + 1e-13) << l.name;
        EXPECT_LE(check::largest_singular_value(p.s), 1.0 + 1e-13) << l.name;
        EXPECT_LE(check::largest_singular_value(mm.s), 1.0 + 1e-13) << l.name;
        EXPECT_TRUE(check::symmetric(s.s)) << l.name;
        EXPECT_TRUE(check::symmetric(p.s)) << l.name;
        EXPECT_TRUE(check::symmetric(mm.s)) << l.name;
    }
}

// The closed form against the ABCD matrix of the line turned into S.
TEST(Section, AgreesWithTheAbcdMatrix) {
    for (const Line& l : kLines) {
        if (l.f == 0.0) continue;
        const nw::Propagation pr = nw::propagation({l.z_air}, l.r, medium(l), l.f);
        const Complex gl = l.length * pr.gamma;
        if (gl.re > 30.0 || std::fabs(gl.im) > 1e3) continue;  // cosh would lose the small terms
        const Complex ep = ferravane::math::exp(gl);
        const Complex em = ferravane::math::exp(-gl);
        const Complex ch = 0.5 * (ep + em);
        const Complex sh = 0.5 * (ep - em);
        const Complex a = ch;
        const Complex b = pr.zc * sh;
        const Complex c = sh / pr.zc;
        const Complex z0{l.z0, 0.0};
        const Complex den = a + b / z0 + c * z0 + a;
        const Complex s11 = (b / z0 - c * z0) / den;
        const Complex s21 = Complex{2.0, 0.0} / den;
        const nw::TwoPort s = single(l);
        EXPECT_LT(ferravane::math::abs(s.s[0][0] - s11), 1e-13) << l.name;
        EXPECT_LT(ferravane::math::abs(s.s[1][0] - s21), 1e-13) << l.name;
    }
}

struct Lossless {
    const char* name;
    double er;
    double z_air;
    double z0;
    double f;
    double length;
};

// Unitary; matched to its own impedance, S21 is e^(-j beta L) with
// beta = 2 pi f sqrt(Er) / c.
TEST(Section, LosslessLineIsUnitaryWithPhaseBetaL) {
    const std::vector<Lossless> cases = {
        {"matched_ptfe", 2.2, 50.0 * std::sqrt(2.2), 50.0, 1e9, 0.1},
        {"matched_fr4_long", 4.3, 42.5 * std::sqrt(4.3), 42.5, 2.4e10, 1.3},
        {"matched_air", 1.0, 50.0, 50.0, 7e9, 0.02},
        {"mismatched", 4.3, 120.0, 50.0, 5e9, 0.037},
        {"mismatched_long", 10.2, 60.0, 75.0, 4e10, 2.0},
    };
    for (const Lossless& c : cases) {
        const nw::Medium m{c.er, 0.0, Dielectric::constant, 1e9};
        const nw::TwoPort s = nw::single_section({c.z_air}, 0.0, m, c.f, c.length, c.z0);
        EXPECT_LT(check::distance_from_unitary(s.s), 1e-13) << c.name;
        const nw::FourPort p = nw::pair_section({c.z_air}, 0.0, {0.7 * c.z_air}, 0.0, m, c.f, c.length, c.z0);
        EXPECT_LT(check::distance_from_unitary(p.s), 1e-13) << c.name;
        const double beta_l = 2.0 * kPi * c.f * std::sqrt(c.er) / c0 * c.length;
        EXPECT_EQ(nw::propagation({c.z_air}, 0.0, m, c.f).gamma.re, 0.0) << c.name;
        if (std::fabs(c.z_air / std::sqrt(c.er) - c.z0) < 1e-12 * c.z0) {
            EXPECT_LT(ferravane::math::abs(s.s[0][0]), 1e-15) << c.name;
            EXPECT_NEAR(s.s[1][0].re, std::cos(beta_l), 2e-14 * beta_l) << c.name;
            EXPECT_NEAR(s.s[1][0].im, -std::sin(beta_l), 2e-14 * beta_l) << c.name;
        }
    }
}

// A lossless section a whole number of half wavelengths long is
// transparent whatever its impedance; a quarter wave transforms z0 into
// Zc^2 / z0.
TEST(Section, ResonantLengths) {
    struct Case {
        const char* name;
        double waves;
        double zc;
    };
    const std::vector<Case> cases = {
        {"half_30", 0.5, 30.0}, {"half_90", 0.5, 90.0}, {"one_30", 1.0, 30.0},
        {"ten_and_a_half_120", 10.5, 120.0}, {"quarter_30", 0.25, 30.0}, {"quarter_90", 0.25, 90.0},
        {"three_quarters_70", 0.75, 70.0},
    };
    const double er = 3.0;
    const double f = 2e9;
    const double z0 = 50.0;
    for (const Case& c : cases) {
        const double wavelength = c0 / (f * std::sqrt(er));
        const nw::Medium m{er, 0.0, Dielectric::constant, 1e9};
        const nw::TwoPort s = nw::single_section({c.zc * std::sqrt(er)}, 0.0, m, f, c.waves * wavelength, z0);
        const double half_waves = 2.0 * c.waves;
        if (half_waves == std::floor(half_waves)) {
            EXPECT_LT(ferravane::math::abs(s.s[0][0]), 1e-12) << c.name;
            EXPECT_NEAR(ferravane::math::abs(s.s[1][0]), 1.0, 1e-12) << c.name;
        } else {
            const double zin = c.zc * c.zc / z0;
            EXPECT_NEAR(ferravane::math::abs(s.s[0][0]), std::fabs((zin - z0) / (zin + z0)), 1e-12) << c.name;
        }
    }
}

// Equal even and odd modes: no coupling at all, and each strip is the
// single strip's section.
TEST(Section, PairWithEqualModesIsTwoSingleStrips) {
    for (const Line& l : kLines) {
        const nw::FourPort p =
            nw::pair_section({l.z_air}, l.r, {l.z_air}, l.r, medium(l), l.f, l.length, l.z0);
        const nw::TwoPort s = single(l);
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) {
                const Complex want = i / 2 == j / 2 ? s.s[i % 2][j % 2] : Complex{};
                EXPECT_EQ(p.s[i][j].re, want.re) << l.name << " S" << i + 1 << j + 1;
                EXPECT_EQ(p.s[i][j].im, want.im) << l.name << " S" << i + 1 << j + 1;
            }
        }
    }
}

// A symmetric pair converts no mode into the other: Sdd is the odd mode's
// section, Scc the even mode's, Sdc and Scd are zero.
TEST(Section, MixedModeOfASymmetricPair) {
    for (const Line& l : kLines) {
        const nw::Mode even{l.z_air};
        const nw::Mode odd{0.8 * l.z_air};
        const nw::FourPort mm = nw::mixed_mode(nw::pair_section(even, l.r, odd, 1.25 * l.r, medium(l), l.f,
                                                                l.length, l.z0));
        const nw::TwoPort se = nw::single_section(even, l.r, medium(l), l.f, l.length, l.z0);
        const nw::TwoPort so = nw::single_section(odd, 1.25 * l.r, medium(l), l.f, l.length, l.z0);
        for (int i = 0; i < 2; ++i) {
            for (int j = 0; j < 2; ++j) {
                EXPECT_LT(ferravane::math::abs(mm.s[i][j] - so.s[i][j]), 1e-15) << l.name;
                EXPECT_LT(ferravane::math::abs(mm.s[i + 2][j + 2] - se.s[i][j]), 1e-15) << l.name;
                EXPECT_LT(ferravane::math::abs(mm.s[i][j + 2]), 1e-15) << l.name;
                EXPECT_LT(ferravane::math::abs(mm.s[i + 2][j]), 1e-15) << l.name;
            }
        }
    }
}

// With small losses alpha = R / (2 Z0) + pi f sqrt(Er) tan d / c, the
// conductor and dielectric attenuation of the line's loss columns.
TEST(Section, SmallLossAttenuation) {
    struct Case {
        double er;
        double tand;
        double z0;
        double r;
        double f;
    };
    const std::vector<Case> cases = {
        {2.2, 0.0009, 50.0, 1.5, 1e9}, {4.3, 0.002, 50.0, 4.0, 1e10}, {3.66, 0.0, 75.0, 2.0, 3e9},
        {10.2, 0.0023, 30.0, 0.0, 2e10},
    };
    for (const Case& c : cases) {
        const nw::Medium m{c.er, c.tand, Dielectric::constant, 1e9};
        const nw::Propagation p = nw::propagation({c.z0 * std::sqrt(c.er)}, c.r, m, c.f);
        const double alpha = c.r / (2.0 * c.z0) + kPi * c.f * std::sqrt(c.er) * c.tand / c0;
        const double beta = 2.0 * kPi * c.f * std::sqrt(c.er) / c0;
        EXPECT_NEAR(p.gamma.re, alpha, 2e-3 * alpha + 1e-300) << c.er << " " << c.f;
        EXPECT_NEAR(p.gamma.im, beta, 1e-3 * beta) << c.er << " " << c.f;
        EXPECT_NEAR(p.zc.re, c.z0, 1e-3 * c.z0) << c.er << " " << c.f;
    }
}

TEST(Section, DirectCurrentAndZeroLength) {
    const nw::Medium m{4.3, 0.02, Dielectric::djordjevic, 1e9};
    // f = 0: a series resistance of 15 ohms between 50-ohm ports.
    const nw::TwoPort dc = nw::single_section({100.0}, 50.0, m, 0.0, 0.3, 50.0);
    EXPECT_DOUBLE_EQ(dc.s[0][0].re, 15.0 / 115.0);
    EXPECT_DOUBLE_EQ(dc.s[1][0].re, 100.0 / 115.0);
    EXPECT_EQ(dc.s[1][0].im, 0.0);
    const nw::TwoPort through = nw::single_section({100.0}, 0.0, m, 0.0, 0.3, 50.0);
    EXPECT_EQ(through.s[0][0].re, 0.0);
    EXPECT_EQ(through.s[1][0].re, 1.0);
    const nw::TwoPort none = nw::single_section({100.0}, 50.0, m, 2e9, 0.0, 50.0);
    EXPECT_LT(ferravane::math::abs(none.s[0][0]), 1e-16);
    EXPECT_LT(ferravane::math::abs(none.s[1][0] - Complex{1.0, 0.0}), 1e-15);
}

TEST(Section, InputsThatDescribeNoLine) {
    struct Case {
        const char* name;
        nw::Mode mode;
        double r;
        nw::Medium m;
        double f;
        double length;
        double z0;
        const char* error;  // a part of the message, or "" when valid
    };
    const nw::Medium ok{4.3, 0.02, Dielectric::constant, 1e9};
    const nw::Medium debye{4.3, 0.02, Dielectric::djordjevic, 1e9};
    const double nan = std::nan("");
    const std::vector<Case> cases = {
        {"valid", {100.0}, 1.0, ok, 1e9, 0.1, 50.0, ""},
        {"valid_debye_dc", {100.0}, 0.0, debye, 0.0, 0.0, 50.0, ""},
        {"zero_impedance", {0.0}, 1.0, ok, 1e9, 0.1, 50.0, "air-filled impedance"},
        {"nan_impedance", {nan}, 1.0, ok, 1e9, 0.1, 50.0, "air-filled impedance"},
        {"negative_r", {100.0}, -1.0, ok, 1e9, 0.1, 50.0, "series resistance"},
        {"er_below_1", {100.0}, 1.0, {0.5, 0.0, Dielectric::constant, 1e9}, 1e9, 0.1, 50.0, "Er"},
        {"negative_tand", {100.0}, 1.0, {4.3, -0.1, Dielectric::constant, 1e9}, 1e9, 0.1, 50.0,
         "loss tangent"},
        {"negative_f", {100.0}, 1.0, ok, -1.0, 0.1, 50.0, "frequency"},
        {"infinite_f", {100.0}, 1.0, ok, HUGE_VAL, 0.1, 50.0, "frequency"},
        {"negative_length", {100.0}, 1.0, ok, 1e9, -0.1, 50.0, "length"},
        {"zero_z0", {100.0}, 1.0, ok, 1e9, 0.1, 0.0, "reference impedance"},
        {"zero_f_ref", {100.0}, 1.0, {4.3, 0.02, Dielectric::djordjevic, 0.0}, 1e9, 0.1, 50.0,
         "reference frequency"},
        {"band_reversed", {100.0}, 1.0, {4.3, 0.02, Dielectric::djordjevic, 1e9, 1e12, 1e3}, 1e9, 0.1, 50.0,
         "f_low < f_high"},
        {"debye_too_lossy", {100.0}, 1.0, {2.0, 0.2, Dielectric::djordjevic, 1e9}, 1e9, 0.1, 50.0, "eps_inf"},
    };
    for (const Case& c : cases) {
        const std::string error{nw::section_input_error(c.mode, c.r, c.m, c.f, c.length, c.z0)};
        if (*c.error == '\0') {
            EXPECT_EQ(error, "") << c.name;
        } else {
            EXPECT_NE(error.find(c.error), std::string::npos) << c.name << ": " << error;
        }
    }
}

}  // namespace
