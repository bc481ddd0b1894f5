// The two arithmetics the fast paths are built on. Plain has IEEE basic
// operations only: an exact product needs Dekker's splits, and a * b + c is
// rounded twice. Fused has the fused multiply-add: an exact product is two
// operations, and a * b + c is rounded once. Every kernel is a template on
// one of them, written once; its error bound holds for both, since a fused
// multiply-add's one rounding error is never larger than the two it
// replaces, and exact products are the same numbers either way. The results,
// being correctly rounded, are the same bits.
//
// The Fused kernels are compiled only into entry points marked
// FERRAVANE_FMA_TARGET, which are called only after the processor check.
// Every function on their way is forced inline: left out of line, a
// __builtin_fma outside such an entry point would become a call to the C
// library's fma, far slower. tests/math checks that the library calls no
// fma.
#pragma once

#include "math/dd.hpp"

// x86-64 has the fused multiply-add from Haswell on: its entry points are
// compiled for it and chosen at run time. aarch64 always has it.
#if defined(__x86_64__)
#define FERRAVANE_FMA_TARGET [[gnu::target("fma")]]
#else
#define FERRAVANE_FMA_TARGET
#endif

namespace ferravane::math::detail {

// Whether this build has fused entry points that can run on some processor.
#if defined(__x86_64__) || defined(__aarch64__)
inline constexpr bool kFmaBuilt = true;
#else
inline constexpr bool kFmaBuilt = false;
#endif

struct Plain {
    static constexpr bool fused = false;
    [[gnu::always_inline]] static dd two_prod(double a, double b) { return detail::two_prod(a, b); }
    [[gnu::always_inline]] static double mul_add(double a, double b, double c) { return a * b + c; }
};

struct Fused {
    static constexpr bool fused = true;
    [[gnu::always_inline]] static dd two_prod(double a, double b) {
        const double p = a * b;
        return {p, __builtin_fma(a, b, -p)};
    }
    [[gnu::always_inline]] static double mul_add(double a, double b, double c) {
        return __builtin_fma(a, b, c);
    }
};

}  // namespace ferravane::math::detail
