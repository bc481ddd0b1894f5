// The stripline electrical model: pure functions of their inputs, 32-bit
// float arithmetic throughout, no I/O, no allocation, no shared state.
// Argument order follows the long-standing routine signatures.
#pragma once

#include <cstdint>

#include "model/records.hpp"

namespace ferravane::model {

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
