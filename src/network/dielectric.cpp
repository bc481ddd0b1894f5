// The dielectric's complex relative permittivity: the model's constant loss
// tangent, or the wideband Debye (Djordjevic-Sarkar) model, whose poles
// spread evenly on a log scale from f_low to f_high give a loss tangent
// nearly flat between them and a real part that falls with frequency as
// Kramers-Kronig requires.
#include "math/math.hpp"
#include "network/network.hpp"

namespace ferravane::network {

namespace {

// ln((f_high + j f) / (f_low + j f)); the 2 pi of the angular frequencies
// cancels. Its imaginary part is negative for f > 0.
Complex debye_log(const Medium& m, double f) {
    const double ratio = (m.f_high_hz * m.f_high_hz + f * f) / (m.f_low_hz * m.f_low_hz + f * f);
    return {0.5 * math::log(ratio), math::atan(f / m.f_high_hz) - math::atan(f / m.f_low_hz)};
}

}  // namespace

DebyeFit debye_fit(const Medium& m) {
    // eps_inf + k L(f_ref) = Er - j Er tan d: the imaginary parts give k,
    // then the real parts eps_inf.
    const Complex l = debye_log(m, m.f_ref_hz);
    const double k = -(m.er * m.tand) / l.im;
    return {m.er - k * l.re, k};
}

Complex permittivity(const Medium& m, double f_hz) {
    if (m.model == Dielectric::constant) {
        return {m.er, -(m.er * m.tand)};
    }
    const DebyeFit fit = debye_fit(m);
    const Complex l = debye_log(m, f_hz);
    return {fit.eps_inf + fit.k * l.re, fit.k * l.im};
}

}  // namespace ferravane::network
