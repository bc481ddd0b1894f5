// The exp and log kernels that exp, log, pow and cosh are built on.
//
// exp: x = k ln2/256 + r with |r| <= ln2/512, exp(x) = 2^(k>>8) 2^((k&255)/256) e^r.
// log: x = 2^k z with z in [0.6875, 1.375), z c = 1 + r for a 9-bit c from a
// 256-entry table, log x = k ln2 - log c + log1p(r), |r| < 2^-8.
//
// Each has a fast form whose relative error bound is given next to it, for
// Ziv's rounding test, and an accurate form, all in double-double, good to
// about 2^-100 for the rare inputs whose rounding the fast form cannot decide.
// The fast forms are templates on the arithmetic M (arith.hpp); the bounds
// hold for both.
#pragma once

#include <cstdint>

#include "math/arith.hpp"
#include "math/dd.hpp"
#include "math/tables.hpp"

namespace ferravane::math::detail {

// ------------------------------------------------------------------ exp

// x = k ln2/256 + (rh + rl).
struct ExpReduced {
    int k;
    double rh;
    double rl;
};

// Reduction of xh + xl, |xh| < 746, |xl| <= ulp(xh), for the accurate
// path: r = rh + rl normalised, to about 2^-113 absolute. The first two parts
// of ln2/256 have 34 bits and |k| < 2^19, so k times them is exact, and so is
// xh - k L0 (the two are within a factor of two unless k is 0); the exact sum
// of a and k L1 is then added to xl - k L2 in double-double: xl, up to
// 2^-43 in pow, would lose 2^-96 rounded into the low part alone.
inline ExpReduced exp_reduce(double xh, double xl) {
    constexpr double shift = 0x1.8p52;  // adding it rounds to an integer
    const double kd = (xh * kExpInvLn2N + shift) - shift;
    const double a = xh - kd * kExpLn2N[0];
    const dd r = add(two_sum(a, -(kd * kExpLn2N[1])), dd{xl, -(kd * kExpLn2N[2])});
    return {static_cast<int>(kd), r.hi, r.lo};
}

// The same to about 2^-78 absolute, for the fast path: k times the rest of
// ln2/256 in one rounded product (below 2^-25, so off by 2^-78 at most), and
// the cheaper sum, exact when |a| >= |k L1| and otherwise off by as little,
// as both are then below 2^-25. A fused k may round the other way at a tie
// of xh 256/ln2 + shift; |r| stays within ln2/512 and a hair either way.
template <class M>
[[gnu::always_inline]] inline ExpReduced exp_reduce_fast(double xh, double xl) {
    constexpr double shift = 0x1.8p52;
    const double kd = M::mul_add(xh, kExpInvLn2N, shift) - shift;
    const double a = M::mul_add(-kd, kExpLn2NFast[0], xh);  // exact either way
    const dd r = fast_two_sum(a, -(kd * kExpLn2NFast[1]));
    return {static_cast<int>(kd), r.hi, r.lo + xl};
}

// e^r - 1 - rh, the part of the fast polynomial after its linear term; its
// leading part rh^2/2 is below 2^-19. Estrin's scheme rather than Horner's:
// the calls are long enough that their latency, not their operation count,
// limits how fast independent calls run. e^(rh + rl) = e^rh (1 + rl) to
// 2^-80 for |rl| up to an ulp of pow's exponent (2^-42, dd_arg): so besides
// rl rh, rl also multiplies the polynomial, rh^2/2 rl being up to 2^-63
// there. For a double argument rl is the reduction's error alone, below
// 2^-62, and that product below 2^-82.
template <class M, bool dd_arg>
[[gnu::always_inline]] inline double exp_fast_tail(double rh, double rl) {
    const double r2 = rh * rh;
    const double q = M::mul_add(r2, M::mul_add(r2, kExpFast[3], M::mul_add(rh, kExpFast[2], kExpFast[1])),
                                M::mul_add(rh, kExpFast[0], 0.5));
    return rl + M::mul_add(dd_arg ? M::mul_add(r2, rl, r2) : r2, q, rl * rh);
}

// 2^(j/256) (1 + rh + rest), |rh| < 2^-9.4, |rest| < 2^-18, the table
// value h + m + l. h + h rh exactly, as a two-sum of h and the exact
// product's high part, and everything else, small enough for plain double
// arithmetic, in the low part. The exact product: with the fused
// multiply-add, its error in one step; without, h has 26 bits, so h times
// the top 26 bits of rh is exact, and so is h times the other 27. rest,
// the polynomial, is ready last: it comes in through the last two steps
// only, m rest (below 2^-45 of the result) rounded on its own.
template <class M>
[[gnu::always_inline]] inline dd exp_table_times(int j, double rh, double rest) {
    const Exp2Entry& t = kExp2[j];
    dd s;
    double early;
    if constexpr (M::fused) {
        const dd p = M::two_prod(t.h, rh);
        s = fast_two_sum(t.h, p.hi);
        early = (s.lo + (p.lo + (t.m + t.l))) + t.m * rh;
    } else {
        const double p1 = clear_low(rh, 27);
        s = fast_two_sum(t.h, t.h * p1);
        early = (s.lo + (t.h * (rh - p1) + (t.m + t.l))) + t.m * rh;
    }
    return {s.hi, M::mul_add(t.h, rest, M::mul_add(t.m, rest, early))};
}

// Error bound of the fast exp relative to its result: the analysis gives
// about 2^-70.5 (the roundings of rh^2 and of its polynomial factor
// dominate), with either arithmetic.
inline constexpr double kExpFastErr = 0x1p-68;

// exp(xh + xl) = (hi + lo) 2^e, relative error below kExpFastErr.
struct Scaled {
    dd v;
    int e;
};

// e^(xh + xl), xl up to an ulp of xh (dd_arg), or kNoTail.
template <class M, bool dd_arg>
[[gnu::always_inline]] inline Scaled exp_fast(double xh, double xl) {
    const ExpReduced r = exp_reduce_fast<M>(xh, xl);
    const dd v = exp_table_times<M>(r.k & 255, r.rh, exp_fast_tail<M, dd_arg>(r.rh, r.rl));
    return {v, r.k >> 8};
}

// e^x for |x| < 708, where the result is a normal double and its scaling
// exact: stores it in out when the fast path's rounding is safe.
template <class M>
[[gnu::always_inline]] inline bool exp_try_fast(double x, double& out) {
    const Scaled f = exp_fast<M, false>(x, kNoTail);
    const double err = kExpFastErr * f.v.hi;
    const double a = f.v.hi + (f.v.lo - err);
    if (a == f.v.hi + (f.v.lo + err)) {
        out = a * pow2(f.e);
        return true;
    }
    return false;
}

// 2^(j/256) e^r in double-double, about 2^-104 relative.
inline dd exp_accurate_core(int j, dd r) {
    constexpr int n = sizeof kExpAcc / sizeof kExpAcc[0];
    dd p = kExpAcc[n - 1];
    for (int i = n - 2; i >= 0; --i) {
        p = add(mul(p, r), kExpAcc[i]);
    }
    p = add(mul(p, r), dd{1.0, 0.0});
    p = mul(p, r);  // e^r - 1
    const Exp2Entry& t = kExp2[j];
    dd tv = fast_two_sum(t.h, t.m);
    tv.lo += t.l;
    return add(tv, mul(tv, p));
}

inline Scaled exp_accurate(double xh, double xl) {
    const ExpReduced r = exp_reduce(xh, xl);
    return {exp_accurate_core(r.k & 255, dd{r.rh, r.rl}), r.k >> 8};
}

// ------------------------------------------------------------------ log

// x = 2^k z, z c = 1 + r exactly, for the table entry i.
struct LogReduced {
    int k;
    int i;
    double r;
};

// ix: bits of a positive normal double; scale: its power-of-two exponent
// adjustment (-52 when a subnormal was scaled up by 2^52). z c - 1 is below
// 2^-8 and a multiple of 2^-61: one fused multiply-add gives it exactly.
// Without, z = zh + zl with zh of 44 bits: zh c (9-bit c) and zl c are
// exact, zh c lies within 2^-7 of 1 so zh c - 1 is exact, and so is the sum.
template <class M>
[[gnu::always_inline]] inline LogReduced log_reduce(std::uint64_t ix, int scale) {
    const std::uint64_t tmp = ix - kLogOffset;
    const int i = static_cast<int>((tmp >> 44) & 255);
    const int k = static_cast<int>(static_cast<std::int64_t>(tmp) >> 52) + scale;
    const std::uint64_t iz = ix - (tmp & (std::uint64_t{0xfff} << 52));
    const double c = kLog[i].c;
    if constexpr (M::fused) {
        return {k, i, M::mul_add(from_bits(iz), c, -1.0)};
    } else {
        const double zh = from_bits(iz & ~std::uint64_t{0x1ff});
        const double zl = from_bits(iz) - zh;
        return {k, i, (zh * c - 1.0) + zl * c};
    }
}

// Relative error bound of the fast log. Terms: rounding of the cubic tail
// (|r|^3/3 2^-52 against |log x| >= |r|/2 on the subintervals next to 1 and
// >= 2^-9 elsewhere), under 2^-69; the rest well below. With the fused
// arithmetic the low part of r^2/2 is exact rather than rounded.
inline constexpr double kLogFastErr = 0x1p-67;

// Absolute error bound of the fast log, for pow, where y times it is the
// error of y log x: far below |y log x| kLogFastErr unless log x is small.
// Terms: the rounding of the cubic tail, |r|^3/3 (below 2^-25.5) times
// about 2^-50 for r^3 and the polynomial, 2^-75.6; k times the omitted
// third part of ln2, 2^-78.3; the two last sums of the low part, each
// rounded at 2^-79 (they are below 2^-25); truncation and the rest below
// 2^-81. Together under 2^-75.
inline constexpr double kLogFastAbsErr = 0x1p-74;

// -r^2/2 = hi + lo, hi exact or rounded, lo rounded at most once. Fused:
// the rounded square and its exact error. Plain: the square of a 26-bit top
// part r1, exact, and the rest (r - r1)(r + r1), rounded.
template <class M>
[[gnu::always_inline]] inline dd minus_half_square(double r, double r2) {
    if constexpr (M::fused) {
        return {-0.5 * r2, -0.5 * M::mul_add(r, r, -r2)};
    } else {
        const double r1 = clear_low(r, 27);
        return {r1 * (-0.5 * r1), -0.5 * ((r - r1) * (r + r1))};
    }
}

// log x = hi + lo, relative error below kLogFastErr, for ix and scale as in
// log_reduce. With normalised, |lo| is at most half an ulp of hi, as the exp
// kernel wants its argument in pow.
template <class M, bool normalised>
[[gnu::always_inline]] inline dd log_fast(std::uint64_t ix, int scale) {
    const LogReduced lr = log_reduce<M>(ix, scale);
    const double r = lr.r;
    const double kd = lr.k;
    // log1p(r) = r - r^2/2 + r^3 P(r).
    const double r2 = r * r;
    const dd q = minus_half_square<M>(r, r2);
    const double r4 = r2 * r2;
    const double* c = kLogFast;
    const double p = M::mul_add(r4, M::mul_add(r2, c[6], M::mul_add(r, c[5], c[4])),
                                M::mul_add(r2, M::mul_add(r, c[3], c[2]), M::mul_add(r, c[1], c[0])));
    const double tail = M::mul_add(r * r2, p, q.lo);
    // k ln2 - log c, the first product exact; the third part of ln2 is below
    // 2^-89 and k below 2^11. Then + r, with |r| < |log c| unless c is 1 (the
    // table generator checks it) and |k ln2 - log c| > 0.3 unless k is 0; and
    // + q.hi last, as it is ready last: |a + r| is at least about 2^-9 unless
    // a is 0, and |q.hi| <= 2^-17 |r|.
    const dd a = fast_two_sum(kd * kLn2[0], kLog[lr.i].h);
    const dd s = fast_two_sum(a.hi, r);
    const dd u = fast_two_sum(s.hi, q.hi);
    const double lo = u.lo + ((s.lo + (a.lo + (kLog[lr.i].l + kd * kLn2[1]))) + tail);
    return normalised ? fast_two_sum(u.hi, lo) : dd{u.hi, lo};
}

// log x for ix and scale as in log_reduce, x != 1: stores it in out when
// the fast path's rounding is safe.
template <class M>
[[gnu::always_inline]] inline bool log_try_fast(std::uint64_t ix, int scale, double& out) {
    const dd f = log_fast<M, false>(ix, scale);
    // The sign of the error bound does not matter to the test.
    return round_if_safe(f.hi, f.lo, kLogFastErr * f.hi, 0, out);
}

// log x in double-double, about 2^-104 relative.
inline dd log_accurate(std::uint64_t ix, int scale) {
    const LogReduced lr = log_reduce<Plain>(ix, scale);
    const dd r{lr.r, 0.0};
    constexpr int n = sizeof kLogAcc / sizeof kLogAcc[0];
    dd p = kLogAcc[n - 1];
    for (int i = n - 2; i >= 0; --i) {
        p = add(mul(p, r), kLogAcc[i]);
    }
    p = add(mul(p, r), dd{1.0, 0.0});
    p = mul(p, r);  // log1p(r)
    const double kd = lr.k;
    // k ln2: the first two products are exact.
    dd s = fast_two_sum(kd * kLn2[0], kd * kLn2[1]);
    s.lo += kd * kLn2[2];
    s = add(s, dd{kLog[lr.i].h, kLog[lr.i].l});
    return add(s, p);
}

}  // namespace ferravane::math::detail
