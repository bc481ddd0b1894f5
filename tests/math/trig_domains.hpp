// Input domains of the comparisons of sin and cos with MPFR, shared by the
// quick test and the exhaustive one.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "math_domains.hpp"
#include "math_reference.hpp"
#include "math/math.hpp"

namespace ferravane::math::reference {

// A double next to k pi/2 for a random k below 2^30, moved a few ulps: the
// results are then as small as the reduction can make them.
inline double near_quarter_turn(Inputs& in) {
    const double x = static_cast<double>(in.integer(1, std::int64_t{1} << 30)) * 0x1.921fb54442d18p0;
    const double ulp = std::nextafter(x, HUGE_VAL) - x;
    return in.sign() * (x + static_cast<double>(in.integer(-3, 3)) * ulp);
}

inline const std::vector<UnaryDomain>& trig_domains() {
    static const std::vector<UnaryDomain> domains = {
        // Phases beta L of line sections: up to 1e8 radians.
        {"sin_phase", fm::sin, &Ref::sin, [](Inputs& in) { return in.uniform(-1e8, 1e8); }, 100000},
        {"cos_phase", fm::cos, &Ref::cos, [](Inputs& in) { return in.uniform(-1e8, 1e8); }, 100000},
        {"sin_turn", fm::sin, &Ref::sin, [](Inputs& in) { return in.uniform(-7.0, 7.0); }, 100000},
        {"cos_turn", fm::cos, &Ref::cos, [](Inputs& in) { return in.uniform(-7.0, 7.0); }, 100000},
        {"sin_scales", fm::sin, &Ref::sin,
         [](Inputs& in) { return in.sign() * in.log_uniform(0x1p-30, 0x1p80); }, 100000},
        {"cos_scales", fm::cos, &Ref::cos,
         [](Inputs& in) { return in.sign() * in.log_uniform(0x1p-30, 0x1p80); }, 100000},
        {"sin_small", fm::sin, &Ref::sin,
         [](Inputs& in) { return in.sign() * in.log_uniform(0x1p-28, 0x1p-9); }, 50000},
        {"cos_small", fm::cos, &Ref::cos,
         [](Inputs& in) { return in.sign() * in.log_uniform(0x1p-29, 0x1p-9); }, 50000},
        {"sin_quarter_turns", fm::sin, &Ref::sin, near_quarter_turn, 50000},
        {"cos_quarter_turns", fm::cos, &Ref::cos, near_quarter_turn, 50000},
        {"sin_any", fm::sin, &Ref::sin, [](Inputs& in) { return in.any_finite(); }, 50000},
        {"cos_any", fm::cos, &Ref::cos, [](Inputs& in) { return in.any_finite(); }, 50000},
    };
    return domains;
}

}  // namespace ferravane::math::reference
