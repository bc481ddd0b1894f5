// Wavelengths, conductor and dielectric loss and unloaded Q of one line at
// one frequency. The conductor loss follows Wheeler's incremental-inductance
// rule through the normalised impedance sensitivities, with the surface
// resistance raised by Hammerstad's roughness factor.
#include <cmath>

#include "model/model.hpp"

namespace ferravane::model {

void sllos(float b, float er, float f, float res, float sr, float t, float tlos, float w,
           float zo, Sllos1& sllos1, Slsen1& slsen1) {
    constexpr float pi = 3.1415927f;
    constexpr float eta = 376.7303f;      // wave impedance of free space, ohms
    constexpr float speed = 11800.372f;   // speed of light for wavelengths, inch MHz
    constexpr float db_per_neper = 8.686f;

    sllos1.ac = 0.0f;
    sllos1.ad = 0.0f;
    sllos1.atot = 0.0f;
    sllos1.qu = 0.0f;
    sllos1.wl = 999.999f;  // shown when there is no frequency
    sllos1.wg = 999.999f;

    if (f != 0.0f) {
        if (res != 0.0f) {
            // Normalised sensitivities are the same for any Er, so the
            // air-filled line is used; zoair is only scratch for slsen.
            const float erair = 1.0f;
            const float zoair = zo * std::sqrt(er);
            slsen(b, erair, t, w, zoair, slsen1);
            float alphac = (db_per_neper / eta) * std::sqrt(er);
            float temp = 0.0f;
            if (t > 0.0f) {
                temp = (1.0f / t) * slsen1.szot;
            }
            alphac = alphac * ((((1.0f / b) * slsen1.szob) - ((1.0f / w) * slsen1.szow)) - temp);
            const float uo = ((pi * 4.0f) * 0.0000001f) * 0.0254f;  // henries per inch
            float rs = std::sqrt(((((f * pi) * 1000000.0f) * uo) * res));
            const float om = ((pi + pi) * f) * 1000000.0f;
            const float sd = std::sqrt((res + res) / (om * uo));  // skin depth, inches
            const float tp = ((sr * 1.4f) * sr) * (1.0f / (sd * sd));
            // Roughness factor: 1 for a smooth surface, towards 2 when very rough.
            rs = rs * (1.0f + ((2.0f / pi) * std::atan(tp)));
            sllos1.ac = alphac * rs;
        }
        sllos1.wl = speed / f;
        sllos1.wg = sllos1.wl / std::sqrt(er);
        sllos1.ad = ((pi * db_per_neper) * tlos) / sllos1.wg;
        sllos1.atot = sllos1.ac + sllos1.ad;
        if (sllos1.atot != 0.0f) {
            sllos1.qu = ((pi * db_per_neper) / sllos1.wg) / sllos1.atot;
            return;
        }
    }
    // No frequency, or no loss at all: a lossless line has a nominal Q.
    if ((res + tlos) == 0.0f) {
        sllos1.qu = 99999.9f;
    }
}

}  // namespace ferravane::model
