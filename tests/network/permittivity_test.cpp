// The wideband Debye model: fitted at f_ref and behaving as a causal
// permittivity must (Kramers-Kronig): eps' falling with frequency,
// eps'' positive, and locally d eps'/d ln f = -(2/pi) eps'' inside its band.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "network/network.hpp"

namespace {

namespace nw = ferravane::network;
using nw::Dielectric;
using nw::Medium;

constexpr double kPi = 3.141592653589793;

struct Material {
    const char* name;
    double er;
    double tand;
    double f_ref_hz;
};

const std::vector<Material> kMaterials = {
    {"fr4_1ghz", 4.3, 0.02, 1e9},
    {"ptfe_10ghz", 2.2, 0.0009, 10e9},
    {"ro4350_100mhz", 3.66, 0.0037, 1e8},
    {"ceramic_50ghz", 10.2, 0.0023, 5e10},
    {"lossless", 3.0, 0.0, 1e9},
};

Medium debye(const Material& m) { return {m.er, m.tand, Dielectric::djordjevic, m.f_ref_hz}; }

TEST(Permittivity, DebyeMatchesErAndTanDAtTheReference) {
    for (const Material& m : kMaterials) {
        const nw::Complex e = nw::permittivity(debye(m), m.f_ref_hz);
        EXPECT_NEAR(e.re, m.er, 1e-14 * m.er) << m.name;
        EXPECT_NEAR(-e.im, m.er * m.tand, 1e-14 * m.er) << m.name;
    }
}

TEST(Permittivity, DebyeIsCausalInShape) {
    for (const Material& m : kMaterials) {
        const Medium medium = debye(m);
        const nw::DebyeFit fit = nw::debye_fit(medium);
        double last = nw::permittivity(medium, 0.0).re;
        // Static value eps_inf + k ln(f_high / f_low), then falling towards eps_inf.
        EXPECT_NEAR(last, fit.eps_inf + fit.k * std::log(1e9), 1e-12 * last) << m.name;
        for (double f = 1e2; f <= 1e15; f *= 1.7782794100389228) {  // quarter decades
            const nw::Complex e = nw::permittivity(medium, f);
            if (m.tand > 0.0) {
                EXPECT_LT(e.re, last) << m.name << " at " << f;
                EXPECT_GT(-e.im, 0.0) << m.name << " at " << f;
            } else {
                EXPECT_EQ(e.re, m.er) << m.name;
                EXPECT_EQ(e.im, 0.0) << m.name;
            }
            EXPECT_GE(e.re, fit.eps_inf) << m.name;
            last = e.re;
        }
        EXPECT_NEAR(nw::permittivity(medium, 1e20).re, fit.eps_inf, 1e-9) << m.name;
    }
}

TEST(Permittivity, DebyeRealPartFollowsLossesInItsBand) {
    for (const Material& m : kMaterials) {
        if (m.tand == 0.0) continue;
        const Medium medium = debye(m);
        for (double f : {1e5, 1e6, 1e8, 1e9, 1e10}) {
            const double h = 1e-3;  // in ln f
            const double slope = (nw::permittivity(medium, f * std::exp(h)).re -
                                  nw::permittivity(medium, f * std::exp(-h)).re) / (2.0 * h);
            const double loss = -nw::permittivity(medium, f).im;
            EXPECT_NEAR(slope, -(2.0 / kPi) * loss, 0.01 * (2.0 / kPi) * loss) << m.name << " at " << f;
        }
    }
}

}  // namespace
