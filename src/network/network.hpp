// S-parameters of stripline sections: one TEM mode in a homogeneous
// dielectric, described by what the impedance solvers give, and sections
// of one strip (2-port) or of an edge-coupled pair (4-port, even and odd
// modes). Pure functions of plain structs; SI units throughout (ohms,
// metres, hertz, ohms per metre).
//
// Per unit length, with c the speed of light and w = 2 pi f:
//   L = z_air / c,  C_air = 1 / (c z_air),
//   Z' = R (1 + j) + j w L           (the skin effect's internal reactance
//                                     equals its resistance: causal)
//   Y' = j w C_air eps_r(w)          (eps_r = eps' - j eps'', eps'' >= 0)
//   gamma = sqrt(Z' Y'),  Zc = sqrt(Z' / Y')   (principal roots, Re >= 0)
#pragma once

#include <string_view>

#include "math/complex.hpp"

namespace ferravane::network {

using math::Complex;

inline constexpr double kSpeedOfLight = 299792458.0;  // m/s, exact

// One TEM mode: the impedance of the same line filled with air (lossless),
// so that Z0 = z_air / sqrt(Er).
struct Mode {
    double z_air = 0.0;  // ohms
};

enum class Dielectric {
    constant,    // eps_r = Er (1 - j tan d) at every frequency (not causal)
    djordjevic,  // wideband Debye: Er and tan d at f_ref, causal
};

// The homogeneous dielectric. f_low_hz and f_high_hz bound the wideband
// Debye model's band of poles; tan d is nearly flat well inside it.
struct Medium {
    double er = 1.0;
    double tand = 0.0;
    Dielectric model = Dielectric::constant;
    double f_ref_hz = 1e9;     // where Er and tan d are given (djordjevic)
    double f_low_hz = 1e3;     // lowest pole (djordjevic)
    double f_high_hz = 1e12;   // highest pole (djordjevic)
};

// eps_r(f) = eps' - j eps'' (im <= 0 for a lossy dielectric).
Complex permittivity(const Medium& medium, double f_hz);

// The wideband Debye model's constants: eps_r(f) = eps_inf + k ln((f_high + j f)/(f_low + j f)),
// k and eps_inf chosen so that eps_r(f_ref) = Er (1 - j tan d).
struct DebyeFit {
    double eps_inf;
    double k;
};
DebyeFit debye_fit(const Medium& medium);

// gamma (1/m: attenuation Np/m, phase rad/m) and Zc (ohms) of a mode with
// series resistance r_ohm_per_m at f_hz > 0.
struct Propagation {
    Complex gamma;
    Complex zc;
};
Propagation propagation(const Mode& mode, double r_ohm_per_m, const Medium& medium, double f_hz);

// S-parameters referenced to z0 on every port. A 2-port: port 1 one end,
// port 2 the other. A 4-port of a pair: ports 1 -> 2 along one strip,
// 3 -> 4 along the other, 1 and 3 at the same end. s[i][j] is S(i+1)(j+1).
struct TwoPort {
    Complex s[2][2];
};
struct FourPort {
    Complex s[4][4];
};

// A section of length_m of one mode. At f_hz = 0 the line has no reactance
// and no shunt admittance: a series resistance r_ohm_per_m * length_m.
TwoPort single_section(const Mode& mode, double r_ohm_per_m, const Medium& medium, double f_hz,
                       double length_m, double z0);

// A section of a symmetric edge-coupled pair from its even and odd modes,
// each a single section seen from one strip.
FourPort pair_section(const Mode& even, double r_even, const Mode& odd, double r_odd, const Medium& medium,
                      double f_hz, double length_m, double z0);

// The 4-port's mixed-mode form for the pairs (1, 3) and (2, 4), rows and
// columns in the order D1,3 D2,4 C1,3 C2,4: [[Sdd, Sdc], [Scd, Scc]], the
// differential ports referenced to 2 z0 and the common ones to z0 / 2.
FourPort mixed_mode(const FourPort& single_ended);

// Why these inputs cannot describe a section, or empty when they can.
std::string_view section_input_error(const Mode& mode, double r_ohm_per_m, const Medium& medium, double f_hz,
                                     double length_m, double z0);

}  // namespace ferravane::network
