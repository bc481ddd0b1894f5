// Cutoff of the first higher-order (TE11) mode, the upper limit of
// single-mode operation, and the width ratio W/B.
#include <cmath>

#include "model/model.hpp"

namespace ferravane::model {

void slmode(float b, float er, float t, float& tec, float w, float& wbyb) {
    constexpr float pi = 3.1415927f;
    const float c = 11.80285f;  // speed of light, inch GHz
    wbyb = w / b;
    // Cutoff wavelength in the dielectric: 2W + 2T + pi (B - T) / 2.
    float wlc = ((pi + pi) * (b - t)) / 4.0f;
    wlc = ((2.0f * w) + wlc) + (2.0f * t);
    tec = c / (std::sqrt(er) * wlc);
    // The report field holds at most 999.99 GHz; an infinite value from a
    // zero wavelength is clipped too, a NaN is left as it is.
    if (tec >= 1000.0f) {
        tec = 999.99f;
    }
}

}  // namespace ferravane::model
