// Input domains of the comparisons of sin and cos with MPFR, shared by the
// quick test and the exhaustive one.
#pragma once

#include <cmath>
#include <cstdint>
#include <ostream>
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

// sin and cos have one arithmetic: a domain names the function itself.
struct TrigDomain {
    const char* name;
    double (*ours)(double);
    double (Ref::*ref)(double);
    Gen gen;
    int count;
};
inline void PrintTo(const TrigDomain& d, std::ostream* os) { *os << d.name; }

inline const std::vector<TrigDomain>& trig_domains() {
    static const std::vector<TrigDomain> domains = {
        // Phases beta L of line sections: up to 1e8 radians.
        {"sin_phase", math::sin, &Ref::sin, [](Inputs& in) { return in.uniform(-1e8, 1e8); }, 100000},
        {"cos_phase", math::cos, &Ref::cos, [](Inputs& in) { return in.uniform(-1e8, 1e8); }, 100000},
        {"sin_turn", math::sin, &Ref::sin, [](Inputs& in) { return in.uniform(-7.0, 7.0); }, 100000},
        {"cos_turn", math::cos, &Ref::cos, [](Inputs& in) { return in.uniform(-7.0, 7.0); }, 100000},
        {"sin_scales", math::sin, &Ref::sin,
         [](Inputs& in) { return in.sign() * in.log_uniform(0x1p-30, 0x1p80); }, 100000},
        {"cos_scales", math::cos, &Ref::cos,
         [](Inputs& in) { return in.sign() * in.log_uniform(0x1p-30, 0x1p80); }, 100000},
        {"sin_small", math::sin, &Ref::sin,
         [](Inputs& in) { return in.sign() * in.log_uniform(0x1p-28, 0x1p-9); }, 50000},
        {"cos_small", math::cos, &Ref::cos,
         [](Inputs& in) { return in.sign() * in.log_uniform(0x1p-29, 0x1p-9); }, 50000},
        {"sin_quarter_turns", math::sin, &Ref::sin, near_quarter_turn, 50000},
        {"cos_quarter_turns", math::cos, &Ref::cos, near_quarter_turn, 50000},
        {"sin_any", math::sin, &Ref::sin, [](Inputs& in) { return in.any_finite(); }, 50000},
        {"cos_any", math::cos, &Ref::cos, [](Inputs& in) { return in.any_finite(); }, 50000},
    };
    return domains;
}

}  // namespace ferravane::math::reference
