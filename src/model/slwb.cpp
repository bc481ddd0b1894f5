// Strip width for a target impedance: the inverse of slzo.
//
// Zero thickness: the elliptic-ratio forms inverted in closed form for the
// complementary modulus k' = tanh(pi W / 2B). Finite thickness: the inverse
// of Wheeler's formula as an estimate, then a stepping search with slzo
// until the impedance is within 0.1 % of the target.
#include <cmath>
#include <cstdint>

#include "model/model.hpp"

namespace ferravane::model {

namespace {

constexpr float pi = 3.1415927f;
constexpr float kMinWidth = 0.0009f;  // inches; narrower strips cannot be made
// The search converges in a few dozen steps for any realisable target; this
// only bounds pathological inputs so that the callers always get an answer.
constexpr std::int32_t kMaxSteps = 10000;

// A width that is too narrow, or that the formulas could not produce at
// all (NaN from a fractional power of a negative number, infinity from a
// target of 0), cannot be realised.
bool unrealisable(float w) {
    return w < kMinWidth || !std::isfinite(w);
}

float cohn_inverse(float a, float b) {
    float temp;
    float ak;
    if (a > 1.0f) {
        temp = std::exp(pi * a);
        const float r = (temp - 2.0f) / (temp + 2.0f);
        ak = std::sqrt(1.0f - ((r * r) * (r * r)));
    } else {
        temp = pi / a;
        if (temp > 87.0f) {
            temp = 87.0f;  // keeps the exponential inside the float range
        }
        temp = std::exp(temp);
        const float r = (temp - 2.0f) / (temp + 2.0f);
        ak = r * r;
    }
    // k' capped at 1 - 2^-23 limits the widest strip to about 5.3 B.
    if (ak >= 0.9999999f) {
        ak = 0.9999999f;
    }
    temp = 1.0f - ak;
    return (b / pi) * std::log((1.0f + ak) / temp);
}

}  // namespace

void slwb(float b, float er, std::int32_t& isyne, float t, float& w, float& zo) {
    isyne = 0;
    const float a = (zo * std::sqrt(er)) / (30.0f * pi);

    if (t == 0.0f) {
        w = cohn_inverse(a, b);
        if (unrealisable(w)) {
            isyne = 1;
        }
        return;
    }

    // Inverse of Wheeler's formula for the effective width W'/B.
    const float x = t * (1.0f / b);
    const float temp = x / (1.0f - x);
    const float am = 2.0f / (1.0f + (0.6666667f * temp));
    const float e = std::exp(pi * a);
    const float wo = (((8.0f * (1.0f - x)) / pi) * std::sqrt(e + 0.568f)) / (e - 1.0f);
    const float r = x / (2.0f - x);
    float deltaw = (r * r) + std::pow((0.0796f * x) / (wo - (0.26f * x)), am);
    deltaw = (x / pi) * (1.0f - (0.5f * std::log(deltaw)));
    w = b * (wo - deltaw);
    if (unrealisable(w)) {
        isyne = 1;  // zo still holds the target
        return;
    }

    const float zod = zo;
    const float tp = 0.001f * zod;
    float winc = 0.01f * w;
    slzo(b, er, t, w, zo);
    // Impedance falls as the width grows: too low means too wide, so walk
    // towards narrower strips. The direction never changes afterwards.
    if (zod > zo) {
        winc = -winc;
    }
    for (std::int32_t step = 0;; ++step) {
        if (std::fabs(zod - zo) < tp) {
            return;
        }
        if (step == kMaxSteps) {
            isyne = 1;
            return;
        }
        // test >= 0: the target still lies ahead in the direction of travel.
        float test = zo - zod;
        if (winc < 0.0f) {
            test = -test;
        }
        if (test < 0.0f) {
            // Overshot: halve the step and move back by the halved step.
            winc = winc / 2.0f;
            w = w - winc;
        } else {
            w = w + winc;
        }
        slzo(b, er, t, w, zo);
        if (unrealisable(w)) {
            isyne = 1;  // zo holds the impedance of this last width
            return;
        }
    }
}

}  // namespace ferravane::model
