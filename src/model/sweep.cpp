#include "model/sweep.hpp"

#include <bit>
#include <cmath>
#include <limits>

#include "math/dd.hpp"

namespace ferravane::model {
namespace {

// The neighbour of s one unit in the last place away from zero (up) or
// towards it (down); s is finite and not zero.
double step_magnitude(double s, bool up) {
    const auto bits = std::bit_cast<std::uint64_t>(s);
    return std::bit_cast<double>(up ? bits + 1 : bits - 1);
}

}  // namespace

std::int32_t truncate_to_int(float value) {
    if (!(value > -2147483904.0f && value < 2147483648.0f)) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t step_count(float start, float stop, float step, float tolerance) {
    const auto steps = static_cast<float>(
        (static_cast<double>(stop) - static_cast<double>(start)) / static_cast<double>(step) +
        static_cast<double>(tolerance));
    return truncate_to_int(steps);
}

float sweep_point(std::int64_t il, float step, float start) {
    const double c = static_cast<double>(start);
    if (!std::isfinite(step) || !std::isfinite(start)) {
        return static_cast<float>(static_cast<double>(il) * static_cast<double>(step) + c);
    }
    // il * step in two exact pieces (11 + 24 and 20 + 24 bits).
    const double a1 = static_cast<double>(il >> 20) * 1048576.0 * static_cast<double>(step);
    const double a2 = static_cast<double>(il & 0xFFFFF) * static_cast<double>(step);

    // The exact sum as s3 + rest, with |rest| at most half a unit of s3.
    using math::detail::two_sum;
    const math::detail::dd p1 = two_sum(a1, a2);
    const math::detail::dd p2 = two_sum(p1.hi, c);
    const math::detail::dd t = two_sum(p2.lo, p1.lo);
    const math::detail::dd p3 = two_sum(p2.hi, t.hi);
    double s3 = p3.hi;
    // p3.lo is a multiple of t.hi's last unit, so when it is not zero it
    // outweighs t.lo and decides the sign of the rest.
    const double rest = p3.lo != 0.0 ? p3.lo : t.lo;
    if (s3 == 0.0) return static_cast<float>(rest);  // the sum is rest alone

    // Round to odd in double, then to float: with 29 spare bits the second
    // rounding cannot go wrong.
    if (rest != 0.0 && (std::bit_cast<std::uint64_t>(s3) & 1u) == 0) {
        s3 = step_magnitude(s3, (rest > 0.0) == (s3 > 0.0));
    }
    return static_cast<float>(s3);
}

}  // namespace ferravane::model
