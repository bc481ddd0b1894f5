// Strip width for a target impedance: the inverse of slzo.
//
// Zero thickness: the elliptic-ratio forms inverted in closed form for the
// complementary modulus k' = tanh(pi W / 2B). Finite thickness: the inverse
// of Wheeler's formula as an estimate, then a stepping search with slzo
// until the impedance is within 0.1 % of the target.
#include <cmath>
#include <cstdint>

#include "model/model.hpp"
#include "model/line.hpp"
#include "model/parts.hpp"
#include "model/constants.hpp"
#include "model/step.hpp"

namespace ferravane::model {

namespace {

using wide::exp;
using wide::log;
using wide::pow;
using wide::sqrt;

// The search converges in a few dozen steps for any realisable target; this
// only bounds pathological inputs so that the callers always get an answer.
constexpr std::int32_t kMaxSteps = 10000;

// A width that is too narrow, or that the formulas could not produce at
// all (NaN from a fractional power of a negative number, infinity from a
// target of 0), cannot be realised.
bool unrealisable(float w) {
    return w < kMinWidth || !std::isfinite(w);
}

float cohn_inverse(Stored a, Stored b) {
    Stored temp = 0.0f;
    Stored ak = 0.0f;
    if (a > 1.0) {
        temp = exp(kPi * a);
        const double r = (temp - 2.0) / (temp + 2.0);
        ak = sqrt(1.0 - (r * r) * (r * r));
    } else {
        temp = kPi / a;
        if (temp > 87.0) {
            temp = 87.0f;  // keeps the exponential inside the float range
        }
        temp = exp(temp);
        const double r = (temp - 2.0) / (temp + 2.0);
        ak = r * r;
    }
    // k' capped at 1 - 2^-23 limits the widest strip to about 5.3 B.
    if (ak >= Stored(0.9999999f)) {
        ak = 0.9999999f;
    }
    temp = 1.0 - ak;
    return Stored(b / kPi * log((1.0 + ak) / temp)).value();
}

// slwb itself; true when it ends with zo holding the impedance of the
// width it leaves in w, whose geometry is then in last.
bool search(const LineParts& p, std::int32_t& isyne, float& w, float& zo, ZoGeometry& last) {
    const ZoLine& l = p.line;
    const Stored b = l.b;
    isyne = 0;
    const Stored a = Stored(zo) * p.medium.root_er / (30.0 * kPi);

    if (!l.thick) {
        w = cohn_inverse(a, b);
        if (unrealisable(w)) {
            isyne = 1;
        }
        return false;  // zo still holds the target
    }

    // Inverse of Wheeler's formula for the effective width W'/B.
    const double e = exp(kPi * a);  // not stored: used wide by the next step
    const Stored wo = l.width_factor * sqrt(e + kRootTermInverse) / (e - 1.0);
    Stored deltaw = l.r_squared + pow(l.correction / (wo - l.correction_inverse), Stored(l.am));
    deltaw = l.x_over_pi * (1.0 - 0.5 * log(deltaw));
    w = Stored(b * (wo - deltaw)).value();
    if (unrealisable(w)) {
        isyne = 1;  // zo still holds the target
        return false;
    }

    const float zod = zo;
    const float tp = 0.001f * zod;
    float winc = 0.01f * w;
    // slzo in its two steps, so that the geometry of the last width is kept.
    last = slzo_geometry(l, w);
    zo = slzo_in(last, p.medium);
    // Impedance falls as the width grows: too low means too wide, so walk
    // towards narrower strips. The direction never changes afterwards.
    if (zod > zo) {
        winc = -winc;
    }
    for (std::int32_t step = 0;; ++step) {
        if (std::fabs(zod - zo) < tp) {
            return true;
        }
        if (step == kMaxSteps) {
            isyne = 1;
            return true;
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
        last = slzo_geometry(l, w);
        zo = slzo_in(last, p.medium);
        if (unrealisable(w)) {
            isyne = 1;  // zo holds the impedance of this last width
            return true;
        }
    }
}

}  // namespace

void slwb(float b, float er, std::int32_t& isyne, float t, float& w, float& zo) {
    ZoGeometry last;
    search(line_parts(b, er, t), isyne, w, zo, last);
}

void slwb_and_zo(const LineParts& p, std::int32_t& isyne, float& w, float& zo, WidthImpedance& of_w) {
    ZoGeometry last;
    const bool ends_on_zo_of_w = search(p, isyne, w, zo, last);
    if (isyne != 0) return;
    if (ends_on_zo_of_w) {
        of_w = {zo, last};
    } else {
        of_w.geometry = slzo_geometry(p.line, w);
        of_w.zo = slzo_in(of_w.geometry, p.medium);
    }
}

void slwb_and_zo(float b, float er, std::int32_t& isyne, float t, float& w, float& zo,
                 WidthImpedance& of_w) {
    slwb_and_zo(line_parts(b, er, t), isyne, w, zo, of_w);
}

}  // namespace ferravane::model
