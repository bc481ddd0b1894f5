// The constants of the formulas, each named once, as the 32-bit values the
// formulas use (widened where they are used: pi is 3.1415927f, not the
// double nearest to pi).
#pragma once

#include "model/step.hpp"

namespace ferravane::model {

inline constexpr Stored kPi = 3.1415927f;

// Wheeler's finite-thickness form (slzo) and its inverse (slwb): the
// exponent m = 2 / (1 + (2/3) x / (1 - x)) with x = T/B, and the
// coefficients of the effective-width correction and of the square root.
inline constexpr Stored kTwoThirds = 0.6666667f;
inline constexpr Stored kWidthCorrection = 0.0796f;  // (0.0796 x / (W/B + 1.1 x))^m
inline constexpr Stored kWidthCorrectionW = 1.1f;
inline constexpr Stored kWidthCorrectionInverse = 0.26f;  // the same term from W'/B in slwb
inline constexpr Stored kRootTerm = 6.27f;                // sqrt((8/pi W')^2 + 6.27)
inline constexpr Stored kRootTermInverse = 0.568f;         // sqrt(e^(pi a) + 0.568) in slwb

// Two speeds of light, each the one that reproduces its own published
// figures: the wavelengths (and so the dielectric loss and Q) use
// 11800.372 inch MHz, about 2.99729e8 m/s; the TE11 cutoff uses 11.80285
// inch GHz, about 2.99792e8 m/s, the speed of light itself.
inline constexpr Stored kSpeedForWavelengths = 11800.372f;  // inch MHz
inline constexpr Stored kSpeedForCutoff = 11.80285f;        // inch GHz

// slsen's perturbation of B, T and W: 0.1 %, in float.
inline constexpr float kSensitivityStep = 1.001f;

inline constexpr Stored kEta = 376.7303f;  // wave impedance of free space, ohms
inline constexpr Stored kDbPerNeper = 8.686f;

}  // namespace ferravane::model
