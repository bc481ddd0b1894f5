// Characteristic impedance of a centred strip between two ground planes.
//
// Zero thickness: Cohn's conformal map, Zo = (30 pi / sqrt(Er)) K(k)/K(k'),
// k = sech(pi W / 2B), with Hilberg's logarithmic forms for the elliptic
// ratio and a simpler wide-strip form above W/B = 1.5.
// Finite thickness: Wheeler's closed form with the effective-width
// correction for the strip thickness.
//
// Every intermediate is a float and every expression is written in the
// order it is evaluated (left to right, explicit parentheses), so that the
// result is reproducible digit for digit on any conforming compiler.
#include <cmath>

#include "model/model.hpp"

namespace ferravane::model {

namespace {

constexpr float pi = 3.1415927f;
// The two elliptic forms meet at k = 1/sqrt(2); the same constant decides
// which modulus enters the logarithm and whether the ratio is inverted.
constexpr float kMeet = 0.70710677f;

float wheeler(float b, float er, float t, float w) {
    const float x = t * (1.0f / b);
    float temp = x / (1.0f - x);
    const float am = 2.0f / (1.0f + (0.6666667f * temp));
    float deltaw = std::pow((0.0796f * x) / ((w / b) + (1.1f * x)), am);
    const float r = x / (2.0f - x);
    deltaw = 1.0f - (0.5f * std::log((r * r) + deltaw));
    deltaw = (temp / pi) * deltaw;  // thickness correction dW/(B - T)
    const float wprime = (w / (b - t)) + deltaw;
    temp = 8.0f / (pi * wprime);
    float z = 1.0f + ((0.5f * temp) * (temp + std::sqrt((temp * temp) + 6.27f)));
    z = std::log(z) * (30.0f / std::sqrt(er));
    return z;
}

float cohn(float b, float er, float w) {
    const float webyb = w * (1.0f / b);
    if (webyb > 1.5f) {
        const float cf = (1.0f / pi) * 1.3862944f;  // ln 4 / pi
        float z = webyb + cf;
        z = (30.0f * pi) / (std::sqrt(er) * z);
        return z;
    }
    // Also reached when W/B is not a number: the NaN then runs through.
    const float dtemp = (pi * (w / b)) / 2.0f;
    const float dk = 1.0f / std::cosh(dtemp);
    const float dkp = std::sqrt(1.0f - (dk * dk));
    const float darg = (dk > kMeet) ? dk : dkp;
    const float s = std::sqrt(darg);
    const float q = (1.0f + s) / (1.0f - s);
    float dkbykp = std::log(2.0f * q) / pi;
    if (dk <= kMeet) {
        dkbykp = 1.0f / dkbykp;
    }
    return ((pi * 30.0f) * dkbykp) / std::sqrt(er);
}

}  // namespace

void slzo(float b, float er, float t, float w, float& zo) {
    // The model switches on T being exactly zero, not on T being small.
    zo = (t == 0.0f) ? cohn(b, er, w) : wheeler(b, er, t, w);
}

}  // namespace ferravane::model
