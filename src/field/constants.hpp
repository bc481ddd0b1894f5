// Physical constants of the solver, SI. Every length the layer takes or
// gives is in metres; impedances are in ohms, capacitances in F/m, losses
// in nepers per metre.
#pragma once

namespace ferravane::field {

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kSpeedOfLight = 299792458.0;  // m/s
inline constexpr double kEta0 = 376.730313668;       // wave impedance of free space, ohms
inline constexpr double kMu0 = 4.0e-7 * kPi;          // H/m
// eps0 = 1 / (mu0 c^2), written so that eta0 = mu0 c holds to the digits given.
inline constexpr double kEps0 = 1.0 / (kEta0 * kSpeedOfLight);  // F/m

}  // namespace ferravane::field
