// Row counts and sweep points: the same range must give the same rows in
// every front end, and every point is the exact value rounded once.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "model/sweep.hpp"

namespace ferravane::model {
namespace {

TEST(StepCount, WholeStepsBelowTheStopWithATolerance) {
    struct Case {
        float start, stop, step, tolerance;
        std::int32_t l;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::int32_t none = std::numeric_limits<std::int32_t>::min();
    const float tol = kStepTolerance;
    const Case cases[] = {
        {1000.0f, 2000.0f, 100.0f, tol, 10},
        {100.0f, 1000.0f, 200.0f, tol, 4},
        {1000.0f, 1000.0f, 10.0f, tol, 0},
        {20.0f, 100.0f, 8.08f, tol, 9},
        {0.1f, 0.3f, 0.02f, tol, 10},
        {0.0f, 3e9f, 1.0f, tol, none},
        {0.0f, 2e9f, 1.0f, tol, 2000000000},
        {0.0f, 1.0f, nan, tol, none},
        {0.0f, inf, 1.0f, tol, none},
        {0.0f, 1.0f, 1e-30f, tol, none},
        // The accumulated impedance sweep's own tolerance of a tenth of a step.
        {20.0f, 100.0f, 10.0f, kRowTolerance, 8},
        {20.0f, 100.0f, 8.08f, kRowTolerance, 10},
        {25.0f, 75.0f, 0.1f, kRowTolerance, 500},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(step_count(c.start, c.stop, c.step, c.tolerance), c.l)
            << c.start << " " << c.stop << " " << c.step << " " << c.tolerance;
    }
}

// Slow exact reference for steps and starts between 2^-20 and 2^20 in
// magnitude: everything is a whole number of 2^-43 units in 128 bits, and
// the rounding to float is done on the integer.
__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

Int128 units(float v) {  // v * 2^43, exact in this range
    const auto bits = std::bit_cast<std::uint32_t>(v);
    const int e = static_cast<int>((bits >> 23) & 0xFFu) - 150 + 43;  // >= 0 here
    const Int128 m = static_cast<Int128>((bits & 0x7FFFFFu) | 0x800000u) << e;
    return (bits >> 31) != 0 ? -m : m;
}

float nearest_float(Int128 n) {  // n * 2^-43 rounded to nearest, ties to even
    if (n == 0) return 0.0f;
    const bool neg = n < 0;
    auto mag = static_cast<UInt128>(neg ? -n : n);
    int shift = 0;
    while ((mag >> shift) >= (static_cast<UInt128>(1) << 24)) ++shift;
    auto kept = static_cast<std::uint64_t>(mag >> shift);
    if (shift > 0) {
        const auto half = static_cast<UInt128>(1) << (shift - 1);
        const auto dropped = mag & ((static_cast<UInt128>(1) << shift) - 1);
        if (dropped > half || (dropped == half && (kept & 1u) != 0)) ++kept;
    }
    // kept * 2^(shift - 43), exact in a float (kept has at most 25 bits).
    float v = static_cast<float>(kept);
    for (int i = 0; i < shift; ++i) v *= 2.0f;
    for (int i = 0; i < 43; ++i) v *= 0.5f;
    return neg ? -v : v;
}

TEST(SweepPoint, IsTheExactValueRoundedOnce) {
    std::mt19937_64 gen(20261208);
    std::uniform_real_distribution<float> mant(1.0f, 2.0f);
    std::uniform_int_distribution<int> expo(-20, 19);
    std::uniform_int_distribution<std::int64_t> index(0, std::int64_t{1} << 31);
    auto pick = [&] {
        float v = std::ldexp(mant(gen), expo(gen));
        return (gen() & 1u) != 0 ? -v : v;
    };
    int checked = 0;
    for (int n = 0; n < 2000000; ++n) {
        const float step = pick();
        const float start = pick();
        // Small indices as often as large ones: both kinds of sweep.
        const std::int64_t il = (n & 1) != 0 ? index(gen) : index(gen) & 0xFFFF;
        const float want = nearest_float(static_cast<Int128>(il) * units(step) + units(start));
        const float got = sweep_point(il, step, start);
        ASSERT_EQ(std::bit_cast<std::uint32_t>(got), std::bit_cast<std::uint32_t>(want))
            << il << " * " << step << " + " << start;
        ++checked;
    }
    EXPECT_EQ(checked, 2000000);
}

TEST(SweepPoint, Cases) {
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        std::int64_t il;
        float step, start, want;
    };
    const Case cases[] = {
        {0, 100.0f, 1000.0f, 1000.0f},
        {10, 100.0f, 1000.0f, 2000.0f},
        {3, 0.1f, 0.2f, 0.5f},
        {0, 0.05f, 0.05f, 0.05f},
        {1, inf, 1.0f, inf},
        {1, 1.0f, -inf, -inf},
        {5, 3e38f, 3e38f, inf},       // beyond the float range
        {1, 1.0f, -1.0f, 0.0f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sweep_point(c.il, c.step, c.start), c.want) << c.il << " " << c.step << " " << c.start;
    }
    EXPECT_TRUE(std::isnan(sweep_point(0, inf, 1.0f)));  // 0 * inf
}

}  // namespace
}  // namespace ferravane::model
