// Result records of the loss and sensitivity calculations. They belong to the
// caller (the design state); the model routines only fill them.
#pragma once

namespace ferravane::model {

// Results of the last loss calculation (sllos).
struct Sllos1 {
    float ac = 0.0f;    // conductor loss, dB/inch (positive)
    float ad = 0.0f;    // dielectric loss, dB/inch (positive)
    float atot = 0.0f;  // ac + ad, dB/inch
    float qu = 0.0f;    // unloaded Q
    float wg = 0.0f;    // guide wavelength, inches
    float wl = 0.0f;    // free-space wavelength, inches
};

// Normalised sensitivities (dZo/Zo)/(dx/x) of the last slsen call.
struct Slsen1 {
    float szob = 0.0f;   // to the ground-plane spacing B
    float szoer = 0.0f;  // to the dielectric constant Er (always -0.5)
    float szot = 0.0f;   // to the strip thickness T (0 when T = 0)
    float szow = 0.0f;   // to the strip width W
};

}  // namespace ferravane::model
