// Every build (release and debug, g++ and clang++) must reproduce the
// checked-in bit patterns exactly: the model's results may not depend on
// the compiler or on the optimisation level.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "floats.hpp"
#include "golden_grid.hpp"
#include "math/math.hpp"

namespace ferravane::model::golden {
namespace {

std::vector<std::string> golden_lines() {
    std::ifstream in(FERRAVANE_MODEL_GOLDEN);
    std::vector<std::string> lines;
    for (std::string s; std::getline(in, s);) {
        if (!s.empty() && s.front() != '#') {
            lines.push_back(s);
        }
    }
    return lines;
}

using ferravane::testing::same_bits;

TEST(ModelGolden, FileCoversTheWholeGrid) {
    const auto lines = golden_lines();
    const auto inputs = grid();
    ASSERT_GE(inputs.size(), 300u);
    ASSERT_EQ(lines.size(), inputs.size()) << "regenerate " << FERRAVANE_MODEL_GOLDEN;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto parsed = parse_inputs(lines[i]);
        ASSERT_TRUE(parsed.has_value()) << "line " << i + 1;
        const Inputs& g = inputs[i];
        const Inputs& p = *parsed;
        for (const auto& [x, y] : {std::pair{g.b, p.b}, {g.er, p.er}, {g.t, p.t}, {g.w, p.w},
                                   {g.zo, p.zo}, {g.f, p.f}, {g.res, p.res}, {g.sr, p.sr},
                                   {g.tlos, p.tlos}}) {
            EXPECT_TRUE(same_bits(x, y)) << "line " << i + 1;
        }
    }
}

// The elementary functions run on either arithmetic (plain, or with the
// fused multiply-add where the processor has it): the same bits either way.
class ModelGoldenArithmetic : public ::testing::Test {
protected:
    void TearDown() override { math::set_kernel(math::Kernel::automatic); }
};

TEST_F(ModelGoldenArithmetic, EveryOutputIsBitIdenticalInBoth) {
    const auto lines = golden_lines();
    ASSERT_FALSE(lines.empty()) << "missing " << FERRAVANE_MODEL_GOLDEN;
    for (const math::Kernel k : {math::Kernel::plain, math::Kernel::fma}) {
        if (!math::set_kernel(k)) {
            std::printf("no fused multiply-add here: the golden file is checked in plain arithmetic only\n");
            continue;
        }
        int mismatches = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const auto in = parse_inputs(lines[i]);
            ASSERT_TRUE(in.has_value()) << "line " << i + 1;
            const std::string now = line(*in);
            if (now != lines[i] && ++mismatches <= 5) {
                ADD_FAILURE() << math::kernel_name(k) << " line " << i + 1 << "\n  golden: " << lines[i]
                              << "\n  now:    " << now;
            }
        }
        EXPECT_EQ(mismatches, 0) << math::kernel_name(k);
    }
}

// A million scattered lines in four parts, every output bit of a part folded
// into one hash: the same hashes on every platform, compiler and
// optimisation level mean the same bits. The inputs come from integer
// arithmetic alone, so they are the same everywhere too. Four parts keep
// each test short under an emulator and let them run side by side; the
// even ones run the elementary functions in the plain arithmetic, the odd
// ones in the one chosen for the processor (fused where it has it).
class ScatteredLines : public ::testing::TestWithParam<int> {
protected:
    void TearDown() override { math::set_kernel(math::Kernel::automatic); }
};

TEST_P(ScatteredLines, GiveTheSameBitsEverywhere) {
    constexpr std::uint64_t kExpected[] = {0xef7196f43555e1d2ull, 0x7593ebf11ac98755ull,
                                           0xca3c153ee6d15502ull, 0x6c425f96cae40264ull};
    const int part = GetParam();
    math::set_kernel(part % 2 == 0 ? math::Kernel::plain : math::Kernel::automatic);
    std::uint64_t state = 20261208u + static_cast<std::uint64_t>(part);
    const auto uniform = [&state](float lo, float hi) {
        state += 0x9E3779B97F4A7C15ull;  // SplitMix64
        std::uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        const float u = static_cast<float>(z >> 40) * 0x1.0p-24f;
        return lo + (hi - lo) * u;
    };
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (int k = 0; k < 250000; ++k) {
        const float b = uniform(0.005f, 2.0f);
        const float t = (k % 4 == 0) ? 0.0f : b * uniform(0.0f, 0.5f);
        const Inputs in{b,
                        uniform(1.0f, 13.0f),
                        t,
                        b * uniform(0.0f, 5.0f),
                        uniform(1.0f, 320.0f),
                        (k % 16 == 1) ? 0.0f : uniform(0.0f, 40000.0f),
                        (k % 8 == 2) ? 0.0f : uniform(1.0e-7f, 5.0e-6f),
                        uniform(0.0f, 0.0003f),
                        uniform(0.0f, 0.01f)};
        for (const char c : line(in)) {
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        }
    }
    EXPECT_EQ(hash, kExpected[part]) << std::hex << "0x" << hash;
}

INSTANTIATE_TEST_SUITE_P(AMillion, ScatteredLines, ::testing::Values(0, 1, 2, 3));

}  // namespace
}  // namespace ferravane::model::golden
