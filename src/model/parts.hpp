// Parts of the five routines, for the row engine (src/engine), which
// would otherwise compute the same values again in every row: private to
// the model and the engine (tests/layers refuses any other includer). Each
// gives, bit for bit, what the routine it stands for gives.
#pragma once

#include <cstdint>

#include "model/line.hpp"
#include "model/records.hpp"

namespace ferravane::model {

// The most strips whose searches, sensitivities and loss parts the
// *_together parts compute side by side.
inline constexpr int kTogether = 4;

// slzo before the dielectric enters: only its last step reads Er, so one
// geometry serves the line in any dielectric. slzo(b, er, t, w, zo) gives
// zo = slzo_in(slzo_geometry(b, t, w), er).
struct ZoGeometry {
    enum class Form : std::uint8_t { thick, wide, narrow };
    Form form = Form::thick;  // finite thickness; zero thickness, W/B above 1.5 or not
    float value = 0.0f;       // the last value stored before Er enters
};
ZoGeometry slzo_geometry(float b, float t, float w);
float slzo_in(const ZoGeometry& g, float er);
// The same from the parts of the line (model/line.hpp), computed once.
ZoGeometry slzo_geometry(const ZoLine& line, float w);
float slzo_in(const ZoGeometry& g, const ZoMedium& medium);
// slzo of up to 3 kTogether strips (lines[k], w[k]) in one medium, computed side
// by side: zo[k] = slzo_in(geometry[k], medium) with geometry[k] =
// slzo_geometry(*lines[k], w[k]), kept when geometry is not null.
void slzo_together(const ZoLine* const lines[], const float w[], const ZoMedium& medium, float zo[], int n,
                   ZoGeometry geometry[] = nullptr);

// slsen for a line whose impedance zo0 = slzo(b, er, t, w) the caller has
// just computed: the unperturbed impedance is not computed again.
void slsen_from_zo(float b, float er, float t, float w, float zo0, Slsen1& slsen1);
// The same from the line's parts, in the dielectric medium (its own, or air).
void slsen_from_zo(const LineParts& parts, const ZoMedium& medium, float w, float zo0, Slsen1& slsen1);
// The same for n strips (at most kTogether) side by side.
void slsen_from_zo_together(const LineParts& parts, const ZoMedium& medium, const float w[], const float zo0[],
                            Slsen1 slsen1[], int n);
// slzo and slsen of the strip w, the four impedances computed side by side.
void slzo_and_slsen(const LineParts& parts, float w, float& zo, ZoGeometry& geometry, Slsen1& slsen1);

// slwb, and on success (isyne = 0) the impedance of the width found: the
// search's own last impedance where it ends on one (the finite-thickness
// refinement), computed otherwise. zo is left as slwb leaves it; of_w is
// untouched when the width is not realisable.
struct WidthImpedance {
    float zo = 0.0f;      // slzo(b, er, t, w)
    ZoGeometry geometry;  // slzo_geometry(b, t, w)
};
void slwb_and_zo(float b, float er, std::int32_t& isyne, float t, float& w, float& zo,
                 WidthImpedance& of_w);
void slwb_and_zo(const LineParts& parts, std::int32_t& isyne, float& w, float& zo, WidthImpedance& of_w);
// The same for n targets (at most kTogether) whose searches run side by side.
void slwb_and_zo_together(const LineParts& parts, std::int32_t isyne[], float w[], float zo[], WidthImpedance of_w[],
                          int n);

// What sllos computes from the frequency and the materials alone: the same
// for every line at that frequency.
struct LossAtFrequency {
    bool has_f = false;      // f is not 0: wavelengths and losses are computed
    bool conductor = false;  // f and res are not 0: so is the conductor loss
    bool lossless = false;   // res + tlos is 0
    float rs = 0.0f;         // surface resistance with the roughness factor, ohms
    float wl = 0.0f;         // free-space wavelength, inches
    float wg = 0.0f;         // guide wavelength, inches
    float ad = 0.0f;         // dielectric loss, dB/inch
    double q_wide = 0.0;     // pi 8.686 / wg, the wide first part of the Q step
};
LossAtFrequency sllos_frequency(float er, float f, float res, float sr, float tlos);

// What sllos computes from the line alone (used only with conductor loss):
// the sensitivities of the air-filled line, which sllos leaves in slsen1,
// and the conductor loss per ohm of surface resistance.
struct LossOfLine {
    Slsen1 air;
    float alphac = 0.0f;  // dB/inch per ohm
};
LossOfLine sllos_line(float b, float er, float t, float w);
// The same from the impedance of the air-filled line, slzo(b, 1, t, w),
// that the caller has at hand.
LossOfLine sllos_line_from_air_zo(float b, float er, float t, float w, float zo_air);
LossOfLine sllos_line_from_air_zo(const LineParts& parts, float w, float zo_air);
// The same for n strips (at most kTogether) side by side.
void sllos_line_from_air_zo_together(const LineParts& parts, const float w[], const float zo_air[], LossOfLine line[],
                                     int n);

// sllos from its two parts: sllos1 and slsen1 as sllos(b, er, f, res, sr,
// t, tlos, w, zo, ...) leaves them. line is read only when at.conductor.
void sllos_combine(const LossAtFrequency& at, const LossOfLine& line, Sllos1& sllos1,
                   Slsen1& slsen1);

}  // namespace ferravane::model
