// The stripline electrical model: pure functions of their inputs, no I/O,
// no allocation, no shared state. Every value is a 32-bit float; each step
// of a formula is carried in double and rounded when stored (step.hpp).
// Argument order follows the long-standing routine signatures. These five
// routines are the model's entry points; the row engine (src/engine)
// builds whole table rows from their parts (model/parts.hpp).
//
// Sources of the formulas:
// - S. B. Cohn, "Characteristic impedance of the shielded-strip
//   transmission line", 1954: the zero-thickness impedance by conformal
//   mapping, Zo = (30 pi / sqrt(Er)) K(k)/K(k'), k = sech(pi W / 2B).
// - W. Hilberg, "From approximations to exact relations for characteristic
//   impedances", 1969: the logarithmic forms of the elliptic ratio K/K'.
// - H. A. Wheeler, "Transmission-line properties of a strip line between
//   parallel planes", 1978: the finite-thickness impedance with its
//   effective-width correction. Wheeler's incremental-inductance rule
//   gives the conductor loss from the impedance sensitivities.
// - E. Hammerstad: the surface-roughness factor of the surface
//   resistance, 1 + (2/pi) atan(1.4 (SR / skin depth)^2).
#pragma once

#include <cstdint>

#include "model/records.hpp"

namespace ferravane::model {

// Inches: a narrower strip cannot be made (the width synthesis reports it,
// the dialog refuses narrower widths).
inline constexpr float kMinWidth = 0.0009f;

// Characteristic impedance (ohms) of width w into zo.
void slzo(float b, float er, float t, float w, float& zo);

// Strip width for the target impedance in zo. Sets isyne = 0 on success,
// 1 when the width falls below 0.0009 inch (or cannot be found). On the
// finite-thickness refinement path zo is left holding the impedance of the
// last width tried.
void slwb(float b, float er, std::int32_t& isyne, float t, float& w, float& zo);

// TE11 cutoff frequency (GHz, at most 999.99) into tec and W/B into wbyb.
void slmode(float b, float er, float t, float& tec, float w, float& wbyb);

// Wavelengths, losses and unloaded Q into sllos1; overwrites slsen1 as a side
// effect. zo only seeds a scratch value and influences no result.
void sllos(float b, float er, float f, float res, float sr, float t, float tlos, float w,
           float zo, Sllos1& sllos1, Slsen1& slsen1);

// Normalised impedance sensitivities into slsen1. The inputs are taken by
// value, so the caller's b, t, w and zo come back bit for bit unchanged.
void slsen(float b, float er, float t, float w, float zo, Slsen1& slsen1);

}  // namespace ferravane::model
