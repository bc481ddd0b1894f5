// Wavelengths, conductor and dielectric loss and unloaded Q of one line at
// one frequency. The conductor loss follows Wheeler's incremental-inductance
// rule through the normalised impedance sensitivities, with the surface
// resistance raised by Hammerstad's roughness factor.
#include "model/model.hpp"
#include "model/line.hpp"
#include "model/parts.hpp"
#include "model/constants.hpp"
#include "model/step.hpp"

namespace ferravane::model {

namespace {

using wide::atan;
using wide::sqrt;

constexpr Stored kRoughness = 1.4f;     // coefficient of the roughness factor
constexpr Stored kMuPerMetre = 0.0000001f;  // with 4 pi: henries per metre
constexpr Stored kMetrePerInch = 0.0254f;

}  // namespace

// The steps that depend on the frequency and materials alone, those that
// depend on the line alone, and the few that join them: each computed from
// the same stored operands as in one pass through the formulas.
void sllos(float b, float er, float f, float res, float sr, float t, float tlos, float w,
           float /*zo*/, Sllos1& sllos1, Slsen1& slsen1) {
    const LossAtFrequency at = sllos_frequency(er, f, res, sr, tlos);
    // Normalised sensitivities are the same for any Er, so the air-filled
    // line gives them; the impedance passed in is only scratch.
    const LossOfLine line = at.conductor ? sllos_line(b, er, t, w) : LossOfLine{};
    sllos_combine(at, line, sllos1, slsen1);
}

// Skin depth, roughness factor, wavelengths and dielectric loss.
LossAtFrequency sllos_frequency(float er, float f, float res, float sr, float tlos) {
    LossAtFrequency at;
    at.has_f = f != 0.0f;
    at.conductor = at.has_f && res != 0.0f;
    at.lossless = (res + tlos) == 0.0f;
    if (!at.has_f) return at;
    if (at.conductor) {
        const Stored uo = kPi * 4.0 * kMuPerMetre * kMetrePerInch;  // henries per inch
        Stored rs = sqrt(Stored(f) * kPi * 1000000.0 * uo * Stored(res));
        const Stored om = (kPi + kPi) * Stored(f) * 1000000.0;
        const Stored sd = sqrt((Stored(res) + Stored(res)) / (om * uo));  // skin depth, inches
        const Stored tp = Stored(sr) * kRoughness * Stored(sr) * (1.0 / (sd * sd));
        // Roughness factor: 1 for a smooth surface, towards 2 when very rough.
        rs = rs * (1.0 + 2.0 / kPi * atan(tp));
        at.rs = rs.value();
    }
    at.wl = kSpeedForWavelengths.value() / f;
    at.wg = Stored(Stored(at.wl) / sqrt(Stored(er))).value();
    at.ad = Stored(kPi * kDbPerNeper * Stored(tlos) / Stored(at.wg)).value();
    at.q_wide = kPi * kDbPerNeper / Stored(at.wg);
    return at;
}

LossOfLine sllos_line(float b, float er, float t, float w) {
    float zo_air = 0.0f;
    slzo(b, 1.0f, t, w, zo_air);
    return sllos_line_from_air_zo(b, er, t, w, zo_air);
}

LossOfLine sllos_line_from_air_zo(float b, float er, float t, float w, float zo_air) {
    return sllos_line_from_air_zo(line_parts(b, er, t), w, zo_air);
}

void sllos_line_from_air_zo_together(const LineParts& p, const float w[], const float zo_air[], LossOfLine line[],
                                     int n) {
    // The air-filled lines, as in sllos.
    Slsen1 air[kTogether];
    slsen_from_zo_together(p, p.air, w, zo_air, air, n);
    for (int k = 0; k < n; ++k) {
        line[k].air = air[k];
        Stored alphac = kDbPerNeper / kEta * p.medium.root_er;
        Stored temp = 0.0f;
        if (p.line.t > 0.0f) {
            temp = p.line.inverse_t * Stored(air[k].szot);
        }
        alphac = alphac * (p.line.inverse_b * Stored(air[k].szob) - 1.0 / Stored(w[k]) * Stored(air[k].szow) - temp);
        line[k].alphac = alphac.value();
    }
}

LossOfLine sllos_line_from_air_zo(const LineParts& p, float w, float zo_air) {
    LossOfLine line;
    sllos_line_from_air_zo_together(p, &w, &zo_air, &line, 1);
    return line;
}

void sllos_combine(const LossAtFrequency& at, const LossOfLine& line, Sllos1& sllos1,
                   Slsen1& slsen1) {
    sllos1 = Sllos1{};
    sllos1.wl = 999.999f;  // shown when there is no frequency
    sllos1.wg = 999.999f;
    if (at.has_f) {
        if (at.conductor) {
            slsen1 = line.air;
            sllos1.ac = Stored(Stored(line.alphac) * Stored(at.rs)).value();
        }
        sllos1.wl = at.wl;
        sllos1.wg = at.wg;
        sllos1.ad = at.ad;
        sllos1.atot = sllos1.ac + sllos1.ad;
        if (sllos1.atot != 0.0f) {
            sllos1.qu = Stored(at.q_wide / Stored(sllos1.atot)).value();
            return;
        }
    }
    // No frequency, or no loss at all: a lossless line has a nominal Q.
    if (at.lossless) {
        sllos1.qu = 99999.9f;
    }
}

}  // namespace ferravane::model
