// The arithmetic of the model's formulas. Every named value is stored as a
// 32-bit float; the right-hand side of each assignment (one step of a
// formula) is evaluated in IEEE double from the stored values and rounded to
// float once, when its result is stored. This is the reading that
// reproduces the published figures of the model (Q 480.5 and a conductor
// loss of 0.00405 dB/inch for the 50-ohm line at 1 GHz); rounding every
// single operation to float, or carrying everything in double, does not.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

#include "math/enclosure.hpp"
#include "math/math.hpp"

namespace ferravane::model {

// A value stored between two steps: held as a float, read as a double.
// Assigning a double rounds it to float once; arithmetic on Stored values
// and constants is carried in double.
class Stored {
public:
    constexpr Stored(float v) : v_(v) {}
    constexpr Stored(double v) : v_(static_cast<float>(v)) {}
    constexpr operator double() const { return static_cast<double>(v_); }
    constexpr float value() const { return v_; }

private:
    float v_;
};

// The double functions used inside a step: the project's own, which give
// the same bits on every platform (sqrt is exact IEEE everywhere). log and
// pow, and exp where it can, are taken through store_log, store_pow and
// their enclosures below.
namespace wide {
inline double sqrt(double x) { return std::sqrt(x); }
inline double exp(double x) { return math::exp(x); }
inline double cosh(double x) { return math::cosh(x); }
inline double atan(double x) { return math::atan(x); }

// A step whose one log or pow call feeds a float it stores: step(v) is the
// step's double from the function's value v. Run at the two ends of the
// call's enclosure, the step almost always stores the same float at both,
// and then also at the correctly rounded value, which lies between them, as
// long as the step is monotone in v: any chain of +, -, * and / in which v
// enters once and the other operands do not depend on it is, since each
// rounding is. Otherwise the step runs on the correctly rounded value.
template <class Step, class Exact>
inline float store_through(math::Enclosure e, Step step, Exact exact) {
    if (e.ok) {
        const float a = static_cast<float>(step(e.a));
        const float b = static_cast<float>(step(e.b));
        // Bits, not ==: -0 and +0 differ, and a NaN decides nothing.
        if (a == b && std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b)) {
            return a;
        }
    }
    return static_cast<float>(step(exact()));
}

template <class Step>
inline float store_log(double x, Step step) {
    return store_through(math::log_enclosure(x), step, [x] { return math::log(x); });
}

template <class Step>
inline float store_pow(double x, double y, Step step) {
    return store_through(math::pow_enclosure(x, y), step, [x, y] { return math::pow(x, y); });
}

// The same for n independent steps, two enclosures at a time: out[k] is
// store_log(x[k], v -> step(k, v)), store_pow(x[k], y[k], ...) likewise.
template <class Step>
inline void store_logs(const double x[], int n, Step step, float out[]) {
    for (int k = 0; k < n; k += 2) {
        const int next = k + 1 < n ? k + 1 : k;
        const math::EnclosurePair e = math::log_enclosures(x[k], x[next]);
        for (int m = k; m <= next; ++m) {
            out[m] = store_through(e.lane[m - k], [&](double v) { return step(m, v); },
                                   [&] { return math::log(x[m]); });
        }
    }
}

template <class Step>
inline void store_pows(const double x[], const double y[], int n, Step step, float out[]) {
    for (int k = 0; k < n; k += 2) {
        const int next = k + 1 < n ? k + 1 : k;
        const math::EnclosurePair e = math::pow_enclosures(x[k], x[next], y[k], y[next]);
        for (int m = k; m <= next; ++m) {
            out[m] = store_through(e.lane[m - k], [&](double v) { return step(m, v); },
                                   [&] { return math::pow(x[m], y[m]); });
        }
    }
}
}  // namespace wide

}  // namespace ferravane::model
