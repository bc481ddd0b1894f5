// The arithmetic of the model's formulas. Every named value is stored as a
// 32-bit float; the right-hand side of each assignment (one step of a
// formula) is evaluated in IEEE double from the stored values and rounded to
// float once, when its result is stored. This is the reading that
// reproduces the published figures of the model (Q 480.5 and a conductor
// loss of 0.00405 dB/inch for the 50-ohm line at 1 GHz); rounding every
// single operation to float, or carrying everything in double, does not.
#pragma once

#include <cmath>

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
// the same bits on every platform (sqrt is exact IEEE everywhere).
namespace wide {
inline double sqrt(double x) { return std::sqrt(x); }
inline double exp(double x) { return math::exp(x); }
inline double log(double x) { return math::log(x); }
inline double pow(double x, double y) { return math::pow(x, y); }
inline double cosh(double x) { return math::cosh(x); }
inline double atan(double x) { return math::atan(x); }
}  // namespace wide

}  // namespace ferravane::model
