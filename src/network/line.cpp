// gamma and Zc of one TEM mode from its air-filled impedance, the series
// resistance of its conductors and the dielectric.
#include "network/network.hpp"

namespace ferravane::network {

namespace {

constexpr double kTwoPi = 0x1.921fb54442d18p+2;

}  // namespace

Propagation propagation(const Mode& mode, double r_ohm_per_m, const Medium& medium, double f_hz) {
    const double w = kTwoPi * f_hz;
    const double l = mode.z_air / kSpeedOfLight;
    const double c_air = 1.0 / (kSpeedOfLight * mode.z_air);
    const Complex eps = permittivity(medium, f_hz);
    // Z' = R (1 + j) + j w L; Y' = j w C_air (eps' - j eps'') = w C_air eps'' + j w C_air eps'.
    const Complex z{r_ohm_per_m, r_ohm_per_m + w * l};
    const Complex y{-(w * c_air * eps.im), w * c_air * eps.re};
    return {sqrt(z * y), sqrt(z / y)};
}

}  // namespace ferravane::network
