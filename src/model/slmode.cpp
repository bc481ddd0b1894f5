// Cutoff of the first higher-order (TE11) mode, the upper limit of
// single-mode operation, and the width ratio W/B.
#include "model/model.hpp"
#include "model/constants.hpp"
#include "model/step.hpp"

namespace ferravane::model {

void slmode(float b, float er, float t, float& tec, float w, float& wbyb) {
    wbyb = w / b;
    // Cutoff wavelength in the dielectric: 2W + 2T + pi (B - T) / 2.
    Stored wlc = (kPi + kPi) * (Stored(b) - Stored(t)) / 4.0;
    wlc = 2.0 * Stored(w) + wlc + 2.0 * Stored(t);
    tec = Stored(kSpeedForCutoff / (wide::sqrt(Stored(er)) * wlc)).value();
    // The report field holds at most 999.99 GHz; an infinite value from a
    // zero wavelength is clipped too, a NaN is left as it is.
    if (tec >= 1000.0f) {
        tec = 999.99f;
    }
}

}  // namespace ferravane::model
