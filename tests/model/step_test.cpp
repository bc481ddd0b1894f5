// A step through an enclosure stores what the step stores at the correctly
// rounded value: the ends' float when they agree, otherwise the float of
// the correctly rounded value itself.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "math/math.hpp"
#include "model/step.hpp"

namespace ferravane::model {
namespace {

std::uint32_t float_bits(float f) { return std::bit_cast<std::uint32_t>(f); }

// Fake enclosures against an exact value of 1.5, through the step v -> v.
TEST(StoreThrough, TakesTheEndsOnlyWhenTheyStoreTheSameBits) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    const double ulp = 0x1p-23;  // of a float at 1
    struct Case {
        const char* what;
        math::Enclosure e;
        float expected;
    };
    const std::vector<Case> cases = {
        {"declined", {1.0, 1.0, false}, 1.5f},
        {"ends agree", {1.0, 1.0 + 0x1p-40, true}, 1.0f},  // the ends' float: exact is not asked
        {"ends agree, either order", {1.0 + 0x1p-40, 1.0, true}, 1.0f},
        {"ends straddle a rounding", {1.0, 1.0 + ulp, true}, 1.5f},
        {"ends +0 and -0", {0x1p-200, -0x1p-200, true}, 1.5f},
        {"ends NaN", {nan, nan, true}, 1.5f},
    };
    for (const Case& c : cases) {
        const float got = wide::store_through(c.e, [](double v) { return v; }, [] { return 1.5; });
        EXPECT_EQ(float_bits(got), float_bits(c.expected)) << c.what;
    }
}

// The model's steps through store_log and store_pow against the same steps
// on the correctly rounded functions, bit for bit, where they decide and
// where they do not (about one draw in 2^14 falls back).
TEST(StoreThrough, ModelStepsStoreWhatTheCorrectlyRoundedFunctionsStore) {
    std::mt19937_64 gen(2026);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double c = 30.0 / std::sqrt(2.2);
    int differ = 0;
    for (int i = 0; i < 400000; ++i) {
        const double x = std::exp(-12.0 * unit(gen));  // (6e-6, 1]
        const double y = 1.0 + unit(gen);
        const double lx = math::log(x);
        const double px = math::pow(x, y);
        differ += wide::store_log(x, [](double v) { return 1.0 - 0.5 * v; }) != static_cast<float>(1.0 - 0.5 * lx);
        differ += wide::store_log(x, [c](double v) { return v * c; }) != static_cast<float>(lx * c);
        differ += wide::store_log(x, [](double v) { return 0.1 * (1.0 - 0.5 * v); }) !=
                  static_cast<float>(0.1 * (1.0 - 0.5 * lx));
        differ += wide::store_pow(x, y, [](double v) { return v; }) != static_cast<float>(px);
        differ += wide::store_pow(x, y, [](double v) { return 0.01 + v; }) != static_cast<float>(0.01 + px);
    }
    EXPECT_EQ(differ, 0);
}

// Steps two at a time store what each stores on its own, for any count.
TEST(StoreThrough, ManyStepsStoreWhatEachStoresAlone) {
    std::mt19937_64 gen(9);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int differ = 0;
    for (int n = 1; n <= 12; ++n) {
        for (int round = 0; round < 2000; ++round) {
            double x[12], y[12], c[12];
            for (int k = 0; k < n; ++k) {
                x[k] = std::exp(-12.0 * unit(gen));
                y[k] = 1.0 + unit(gen);
                c[k] = unit(gen);
            }
            float logs[12], pows[12];
            wide::store_logs(x, n, [&c](int k, double v) { return c[k] * (1.0 - 0.5 * v); }, logs);
            wide::store_pows(x, y, n, [&c](int k, double v) { return c[k] + v; }, pows);
            for (int k = 0; k < n; ++k) {
                const double ck = c[k];
                differ += float_bits(logs[k]) !=
                          float_bits(wide::store_log(x[k], [ck](double v) { return ck * (1.0 - 0.5 * v); }));
                differ += float_bits(pows[k]) !=
                          float_bits(wide::store_pow(x[k], y[k], [ck](double v) { return ck + v; }));
            }
        }
    }
    EXPECT_EQ(differ, 0);
}

}  // namespace
}  // namespace ferravane::model
