// Every build (release and debug, g++ and clang++) must reproduce the
// checked-in bit patterns exactly: the model's results may not depend on
// the compiler or on the optimisation level.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "golden_grid.hpp"

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

bool same_bits(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b) ||
           (std::isnan(a) && std::isnan(b));
}

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

TEST(ModelGolden, EveryOutputIsBitIdentical) {
    const auto lines = golden_lines();
    ASSERT_FALSE(lines.empty()) << "missing " << FERRAVANE_MODEL_GOLDEN;
    int mismatches = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto in = parse_inputs(lines[i]);
        ASSERT_TRUE(in.has_value()) << "line " << i + 1;
        const std::string now = line(*in);
        if (now != lines[i] && ++mismatches <= 5) {
            ADD_FAILURE() << "line " << i + 1 << "\n  golden: " << lines[i] << "\n  now:    " << now;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace ferravane::model::golden
