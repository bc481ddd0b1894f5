// Cheap enclosures of log x, e^x and x^y: two doubles that bound the exact value,
// about 2^-38 apart relative to it. A formula step that stores a float
// needs the correctly rounded double only when the float it stores differs
// between the two ends, about once in 2^14 calls (model/step.hpp); the
// kernels behind are a few plain operations each, with no double-double
// sums and no rounding test of their own.
//
// The bounds below are sixteen times what the analysis gives and what
// tests/math measures against MPFR, so that a slip in either leaves the
// enclosures valid; wider ends only decide a little less often.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

#include "math/dd.hpp"
#include "math/tables.hpp"

namespace ferravane::math {

// The exact value lies between the two ends a and b when ok, in either
// order (a step monotone in the value may rise or fall, so its caller
// needs no order); not ok outside the simple domain (the caller then takes
// the correctly rounded function).
struct Enclosure {
    double a = 0.0;
    double b = 0.0;
    bool ok = false;
};

namespace detail {

// Relative error bound of log_cheap. Analysis: r rounded once (2^-53
// against |log x| >= 2^-9.1 where the table's c is not 1; exact where it is
// 1), 2^-43.9; the first term left out of log1p, r^7/7 with |r| < 2^-8,
// below 2^-50.8 |r|; ln2 and -log c as one double each, and the four
// roundings of the sums, each about an ulp of the result at most (|log x|
// is at least 0.3 where k is not 0). Together under 2^-43.
inline constexpr double kLogCheapErr = 0x1p-39;

// Relative error bound of exp_cheap: 2^(j/256) as h + m rounded (2^-53),
// the reduction's rounding (2^-62 absolute against e^r about 1), r^6/720
// left out (2^-66.5), the last product, sum and scaling: under 2^-50.
inline constexpr double kExpCheapErr = 0x1p-46;

// The largest |x| of e^x, and |y log x| of x^y, taken: e^x is then a
// normal double and its scaling by 2^(k >> 8) exact.
inline constexpr double kCheapExpLimit = 700.0;

// ln 2 rounded to a double: k ln2 is then off by 2^-54 |k| at most.
inline constexpr double kLn2Double = 0x1.62e42fefa39efp-1;

// The kernels are written once for one lane (double) and for two side by
// side (D2): the same IEEE operations on each lane, so the same bits, but
// one instruction for both lanes where the processor has them (SSE2,
// NEON). Table lookups and the domain checks stay one lane at a time.
typedef double D2 __attribute__((vector_size(16)));
typedef std::uint64_t U2 __attribute__((vector_size(16)));

template <class V>
struct Lanes;
template <>
struct Lanes<double> {
    using Bits = std::uint64_t;
    template <class F>
    static double gather(Bits i, F f) {
        return f(static_cast<int>(i));
    }
};
template <>
struct Lanes<D2> {
    using Bits = U2;
    template <class F>
    static D2 gather(Bits i, F f) {
        return D2{f(static_cast<int>(i[0])), f(static_cast<int>(i[1]))};
    }
};

// 2^52 as bits: a 12-bit n in its significand reads as 2^52 + n.
inline constexpr std::uint64_t kTwo52Bits = 0x4330000000000000;

// log x for the bits ix of a positive normal double (each lane).
template <class V>
[[gnu::always_inline]] inline V log_cheap(typename Lanes<V>::Bits ix) {
    using Bits = typename Lanes<V>::Bits;
    // x = 2^k z, z c = 1 + r, log x = k ln2 - log c + log1p(r); c is 1
    // next to z = 1, where r = z - 1 is exact.
    const Bits tmp = ix - kLogOffset;
    const Bits i = (tmp >> 44) & 255;
    // k, the signed top 12 bits of tmp: k + 2048, in [0, 4096), as a significand.
    const V kd = std::bit_cast<V>(((tmp >> 52) ^ 2048) | kTwo52Bits) - (0x1p52 + 2048);
    const V z = std::bit_cast<V>(ix - (tmp & (std::uint64_t{0xfff} << 52)));
    const V r = z * Lanes<V>::gather(i, [](int j) { return kLog[j].c; }) - 1.0;
    // log1p(r) to r^6, in Estrin's scheme: the steps overlap.
    const double* c = kLogFast;  // 1/3, -1/4, 1/5, -1/6
    const V r2 = r * r;
    const V odd = (c[0] + r * c[1]) + r2 * (c[2] + r * c[3]);  // 1/3 - r/4 + r^2/5 - r^3/6
    const V p = r + r2 * (-0.5 + r * odd);
    return (kd * kLn2Double + Lanes<V>::gather(i, [](int j) { return kLog[j].h; })) + p;
}

// e^t for |t| < kCheapExpLimit (each lane).
template <class V>
[[gnu::always_inline]] inline V exp_cheap(V t) {
    using Bits = typename Lanes<V>::Bits;
    // t = k ln2/256 + r, |r| <= ln2/512 and a hair: t - k L0 is exact
    // (34-bit L0, |k| < 2^18), k L1 is below 2^-25 and rounded once.
    constexpr double shift = 0x1.8p52;
    const V shifted = t * kExpInvLn2N + shift;
    const V kd = shifted - shift;
    const V r = (t - kd * kExpLn2N[0]) - kd * kExpLn2NFast[1];
    // e^r - 1 to r^5, in Estrin's scheme.
    const double* c = kExpFast;  // 1/6, 1/24, 1/120
    const V r2 = r * r;
    const V q = r + r2 * ((0.5 + r * c[0]) + r2 * (c[1] + r * c[2]));
    // The bits of shift + k are those of shift plus k: k mod 256 picks
    // 2^(j/256), and k + 1023 * 256 (above 0 for |k| < 2^18) shifted
    // down by 8 is the biased exponent of 2^(k >> 8).
    const Bits k = std::bit_cast<Bits>(shifted) - std::bit_cast<std::uint64_t>(shift);
    const Bits j = k & 255;
    const V th = Lanes<V>::gather(j, [](int n) { return kExp2[n].h; }) +
                 Lanes<V>::gather(j, [](int n) { return kExp2[n].m; });
    const V scale = std::bit_cast<V>(((k + (std::uint64_t{1023} << 8)) >> 8) << 52);
    return (th + th * q) * scale;
}

// Whether x is a positive normal double, finite.
[[gnu::always_inline]] inline bool positive_normal(std::uint64_t ix) {
    return ix - 0x0010000000000000 < 0x7ff0000000000000 - 0x0010000000000000;
}

}  // namespace detail

// Encloses log x, for a positive normal x.
[[gnu::always_inline]] inline Enclosure log_enclosure(double x) {
    const std::uint64_t ix = detail::bits(x);
    if (!detail::positive_normal(ix)) {
        return {};
    }
    const double v = detail::log_cheap<double>(ix);
    const double e = v * detail::kLogCheapErr;
    return {v - e, v + e, true};
}

// Encloses x^y, for a positive normal x and |y log x| < 700.
[[gnu::always_inline]] inline Enclosure pow_enclosure(double x, double y) {
    const std::uint64_t ix = detail::bits(x);
    if (!detail::positive_normal(ix)) {
        return {};
    }
    const double t = y * detail::log_cheap<double>(ix);
    const double at = std::fabs(t);
    if (!(at < detail::kCheapExpLimit)) {
        return {};  // also a NaN or infinite y
    }
    // t is y log x to (kLogCheapErr + 2^-53) |t|, and e^t turns that
    // absolute error of its argument into the same relative error.
    const double v = detail::exp_cheap<double>(t);
    const double e = v * (detail::kExpCheapErr + at * (2 * detail::kLogCheapErr));
    return {v - e, v + e, true};
}

// Encloses e^x, for |x| < 700.
[[gnu::always_inline]] inline Enclosure exp_enclosure(double x) {
    if (!(std::fabs(x) < detail::kCheapExpLimit)) {
        return {};  // also a NaN
    }
    const double v = detail::exp_cheap<double>(x);
    const double e = v * detail::kExpCheapErr;
    return {v - e, v + e, true};
}

// The same for two arguments at once: each lane as the one-lane form gives
// it, bit for bit.
struct EnclosurePair {
    Enclosure lane[2];
};

[[gnu::always_inline]] inline EnclosurePair log_enclosures(double x0, double x1) {
    using detail::D2;
    const detail::U2 ix{detail::bits(x0), detail::bits(x1)};
    const D2 v = detail::log_cheap<D2>(ix);
    const D2 e = v * detail::kLogCheapErr;
    const D2 a = v - e;
    const D2 b = v + e;
    return {{{a[0], b[0], detail::positive_normal(ix[0])}, {a[1], b[1], detail::positive_normal(ix[1])}}};
}

[[gnu::always_inline]] inline EnclosurePair pow_enclosures(double x0, double x1, double y0, double y1) {
    using detail::D2;
    const detail::U2 ix{detail::bits(x0), detail::bits(x1)};
    const D2 t = D2{y0, y1} * detail::log_cheap<D2>(ix);
    const bool ok0 = detail::positive_normal(ix[0]) && std::fabs(t[0]) < detail::kCheapExpLimit;
    const bool ok1 = detail::positive_normal(ix[1]) && std::fabs(t[1]) < detail::kCheapExpLimit;
    // A lane outside the domain runs on 0 instead; its ends are not used.
    const D2 tin{ok0 ? t[0] : 0.0, ok1 ? t[1] : 0.0};
    const D2 at{std::fabs(tin[0]), std::fabs(tin[1])};
    const D2 v = detail::exp_cheap<D2>(tin);
    const D2 e = v * (detail::kExpCheapErr + at * (2 * detail::kLogCheapErr));
    const D2 a = v - e;
    const D2 b = v + e;
    return {{{a[0], b[0], ok0}, {a[1], b[1], ok1}}};
}

}  // namespace ferravane::math
