// Losses of each mode. Conductor loss by the incremental-inductance rule:
// alpha_c = Rs sqrt(er) / (2 eta0) (1/Z) dZ/dn, with dZ/dn the derivative
// of the impedance as every conducting surface recedes (solve()). Skin
// depth, surface resistance and roughness factor as in the single-strip
// model, in double: Rs = sqrt(pi f mu0 rho) (1 + (2/pi) atan(1.4 (SR/delta)^2)).
#include <cmath>

#include "field/constants.hpp"
#include "field/field.hpp"
#include "math/math.hpp"

namespace ferravane::field {

namespace {

constexpr double kRoughness = 1.4;  // coefficient of the roughness factor

ModeLoss mode_loss(const Mode& m, const Losses& l, double er, double resistivity, bool has_mode) {
    ModeLoss r;
    if (!has_mode) return r;
    if (resistivity == 0.0) {
        r.conductor = 0.0;  // a perfect conductor loses nothing, whatever its thickness
    } else if (m.recession_gradient) {
        r.conductor = l.surface_resistance * std::sqrt(er) / (2.0 * kEta0) * *m.recession_gradient;
    }
    return r;
}

}  // namespace

Losses losses(const Solution& s, const CrossSection& cs, const Materials& m, double f_hz) {
    Losses l;
    if (s.status != Status::ok || !std::isfinite(f_hz) || f_hz <= 0.0 || !std::isfinite(m.resistivity) ||
        m.resistivity < 0.0 || !std::isfinite(m.roughness) || m.roughness < 0.0 || !std::isfinite(m.tan_delta) ||
        m.tan_delta < 0.0) {
        return l;
    }
    // A strip of finite thickness solved without the derivative: its loss was
    // not asked for, which is not the same as having none.
    const Mode& first = s.pair ? s.odd : s.single;
    if (cs.t > 0.0 && m.resistivity > 0.0 && !first.recession_gradient) return l;
    l.ok = true;
    const double sqrt_er = std::sqrt(cs.er);
    l.wavelength = kSpeedOfLight / f_hz;
    l.guide_wavelength = l.wavelength / sqrt_er;
    const double alpha_d = kPi * m.tan_delta / l.guide_wavelength;
    if (m.resistivity > 0.0) {
        l.skin_depth = std::sqrt(m.resistivity / (kPi * f_hz * kMu0));
        const double ratio = m.roughness / l.skin_depth;
        l.roughness_factor = 1.0 + 2.0 / kPi * math::atan(kRoughness * ratio * ratio);
        l.surface_resistance = std::sqrt(kPi * f_hz * kMu0 * m.resistivity) * l.roughness_factor;
    }
    ModeLoss* out[3] = {&l.single, &l.odd, &l.even};
    const Mode* in[3] = {&s.single, &s.odd, &s.even};
    const bool present[3] = {!s.pair, s.pair, s.pair};
    for (int i = 0; i < 3; ++i) {
        ModeLoss& r = *out[i];
        r = mode_loss(*in[i], l, cs.er, m.resistivity, present[i]);
        if (!present[i]) continue;
        r.dielectric = alpha_d;
        if (!r.conductor) continue;
        r.total = *r.conductor + alpha_d;
        if (*r.total > 0.0) r.q = kPi / (l.guide_wavelength * *r.total);
    }
    return l;
}

}  // namespace ferravane::field
