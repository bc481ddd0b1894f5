// Strip width for a target impedance: the inverse of slzo.
//
// Zero thickness: the elliptic-ratio forms inverted in closed form for the
// complementary modulus k' = tanh(pi W / 2B). Finite thickness: the inverse
// of Wheeler's formula as an estimate, then a stepping search with slzo
// until the impedance is within 0.1 % of the target.
#include <bit>
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
using wide::sqrt;
using wide::store_log;
using wide::store_logs;
using wide::store_pows;

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
    return store_log((1.0 + ak) / temp, [b](double lv) { return b / kPi * lv; });
}

// The estimate of Wheeler's inverse: the width in w, false when it cannot
// be realised (zo still holds the target). Its steps run side by side for
// n targets (at most kTogether), so their calls overlap.
void estimate(const LineParts& p, const float zo[], float w[], int n) {
    const ZoLine& l = p.line;
    const Stored b = l.b;
    double pi_a[kTogether];
    float wo[kTogether];
    float deltaw[kTogether];
    for (int k = 0; k < n; ++k) {
        const Stored a = Stored(zo[k]) * p.medium.root_er / (30.0 * kPi);
        pi_a[k] = kPi * a;
    }
    // W/(B - T) from e^(pi a), which is not stored: used wide, twice. The
    // numerator rises with it and so does the denominator (e^(pi a) > 1),
    // so over the enclosure of e^(pi a) the step lies between the
    // numerator at one end over the denominator at the other. Only when
    // those store different floats is the correctly rounded exp needed.
    auto width = [&l](double e_above, double e_below) {
        return l.width_factor * sqrt(e_above + kRootTermInverse) / (e_below - 1.0);
    };
    for (int k = 0; k < n; ++k) {
        const math::Enclosure ends = math::exp_enclosure(pi_a[k]);
        const double lo = ends.a < ends.b ? ends.a : ends.b;
        const double hi = ends.a < ends.b ? ends.b : ends.a;
        if (ends.ok && lo > 1.0 && l.width_factor > 0.0) {
            const float low = Stored(width(lo, hi)).value();
            const float high = Stored(width(hi, lo)).value();
            if (low == high && std::bit_cast<std::uint32_t>(low) == std::bit_cast<std::uint32_t>(high)) {
                wo[k] = low;
                continue;
            }
        }
        const double ek = exp(pi_a[k]);
        wo[k] = Stored(width(ek, ek)).value();
    }
    double arg[kTogether];
    double am[kTogether];
    for (int k = 0; k < n; ++k) {
        arg[k] = l.correction / (Stored(wo[k]) - l.correction_inverse);
        am[k] = Stored(l.am);
    }
    store_pows(arg, am, n, [&l](int, double p) { return l.r_squared + p; }, deltaw);
    for (int k = 0; k < n; ++k) arg[k] = Stored(deltaw[k]);
    store_logs(arg, n, [&l](int, double lv) { return l.x_over_pi * (1.0 - 0.5 * lv); }, deltaw);
    for (int k = 0; k < n; ++k) w[k] = Stored(b * (Stored(wo[k]) - Stored(deltaw[k]))).value();
}

// The stepping search from the estimate w, whose impedance zo and
// geometry last are known; zod is the target. True: zo holds the
// impedance of the width left in w.
bool refine(const LineParts& p, std::int32_t& isyne, float& w, float& zo, ZoGeometry& last, float zod) {
    const ZoLine& l = p.line;
    const float tp = 0.001f * zod;
    float winc = 0.01f * w;
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
        // slzo in its two steps, so that the geometry of the last width is kept.
        last = slzo_geometry(l, w);
        zo = slzo_in(last, p.medium);
        if (unrealisable(w)) {
            isyne = 1;  // zo holds the impedance of this last width
            return true;
        }
    }
}

// slwb itself for n targets (at most kTogether) side by side: each ends with
// isyne and w as slwb leaves them; ends_on_zo[k] when zo[k] then holds the
// impedance of w[k], whose geometry is in last[k].
void search(const LineParts& p, std::int32_t isyne[], float w[], float zo[], ZoGeometry last[], bool ends_on_zo[],
            int n) {
    const ZoLine& l = p.line;
    for (int k = 0; k < n; ++k) {
        isyne[k] = 0;
        ends_on_zo[k] = false;
    }
    if (!l.thick) {
        for (int k = 0; k < n; ++k) {
            const Stored a = Stored(zo[k]) * p.medium.root_er / (30.0 * kPi);
            w[k] = cohn_inverse(a, l.b);
            if (unrealisable(w[k])) isyne[k] = 1;  // zo still holds the target
        }
        return;
    }
    estimate(p, zo, w, n);
    // The first impedance of each realisable estimate, side by side.
    const ZoLine* lines[kTogether] = {&l, &l, &l, &l};
    float widths[kTogether] = {};
    float first[kTogether] = {};
    ZoGeometry geometry[kTogether];
    int at[kTogether] = {};
    int m = 0;
    for (int k = 0; k < n; ++k) {
        if (unrealisable(w[k])) {
            isyne[k] = 1;  // zo still holds the target
            continue;
        }
        lines[m] = &l;
        widths[m] = w[k];
        at[m++] = k;
    }
    slzo_together(lines, widths, p.medium, first, m, geometry);
    for (int j = 0; j < m; ++j) {
        const int k = at[j];
        const float zod = zo[k];
        zo[k] = first[j];
        last[k] = geometry[j];
        ends_on_zo[k] = refine(p, isyne[k], w[k], zo[k], last[k], zod);
    }
}

}  // namespace

void slwb(float b, float er, std::int32_t& isyne, float t, float& w, float& zo) {
    ZoGeometry last;
    bool ends_on_zo = false;
    search(line_parts(b, er, t), &isyne, &w, &zo, &last, &ends_on_zo, 1);
}

void slwb_and_zo_together(const LineParts& p, std::int32_t isyne[], float w[], float zo[], WidthImpedance of_w[],
                          int n) {
    ZoGeometry last[kTogether];
    bool ends_on_zo[kTogether];
    search(p, isyne, w, zo, last, ends_on_zo, n);
    for (int k = 0; k < n; ++k) {
        if (isyne[k] != 0) continue;
        if (ends_on_zo[k]) {
            of_w[k] = {zo[k], last[k]};
        } else {
            of_w[k].geometry = slzo_geometry(p.line, w[k]);
            of_w[k].zo = slzo_in(of_w[k].geometry, p.medium);
        }
    }
}

void slwb_and_zo(const LineParts& p, std::int32_t& isyne, float& w, float& zo, WidthImpedance& of_w) {
    slwb_and_zo_together(p, &isyne, &w, &zo, &of_w, 1);
}

void slwb_and_zo(float b, float er, std::int32_t& isyne, float t, float& w, float& zo,
                 WidthImpedance& of_w) {
    slwb_and_zo(line_parts(b, er, t), isyne, w, zo, of_w);
}

}  // namespace ferravane::model
