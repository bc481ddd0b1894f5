// Twenty times the quick test's random inputs, about forty million, each
// against MPFR's correctly rounded result. Minutes of work on two threads,
// so the test carries the CTest label "exhaustive".
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "math_domains.hpp"
#include "math_reference.hpp"
#include "trig_domains.hpp"

namespace {

using namespace ferravane::math::reference;

constexpr int kScale = 20;
constexpr int kThreads = 2;

// Runs body(inputs, ref, tally, n) on each thread with its own seed and
// share of the inputs, and merges the tallies.
template <typename Body>
Tally in_threads(const char* name, int count, Body body) {
    std::vector<Tally> tallies(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            Inputs in(std::hash<std::string>{}(name) * 31 + static_cast<std::uint64_t>(t) + 1);
            Ref ref;
            body(in, ref, tallies[static_cast<std::size_t>(t)], count / kThreads);
        });
    }
    for (auto& th : threads) {
        th.join();
    }
    Tally all;
    for (const Tally& t : tallies) {
        all.count += t.count;
        all.differ += t.differ;
        all.max_ulps = std::max(all.max_ulps, t.max_ulps);
        if (all.first.empty()) {
            all.first = t.first;
        }
    }
    return all;
}

class MathExhaustiveUnary : public testing::TestWithParam<UnaryDomain> {};

TEST_P(MathExhaustiveUnary, CorrectlyRounded) {
    const UnaryDomain& d = GetParam();
    const Tally tally = in_threads(d.name, d.count * kScale, [&](Inputs& in, Ref& ref, Tally& t, int n) {
        for (int i = 0; i < n; ++i) {
            const double x = d.gen(in);
            t.add(d.ours(x), (ref.*d.ref)(x), hex(x));
        }
    });
    std::printf("%s\n", tally.summary(d.name).c_str());
    EXPECT_EQ(tally.differ, 0u) << tally.summary(d.name);
}

INSTANTIATE_TEST_SUITE_P(Domains, MathExhaustiveUnary, testing::ValuesIn(unary_domains()),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(Trig, MathExhaustiveUnary, testing::ValuesIn(trig_domains()),
                         [](const auto& info) { return std::string(info.param.name); });

class MathExhaustivePow : public testing::TestWithParam<PowDomain> {};

TEST_P(MathExhaustivePow, CorrectlyRounded) {
    const PowDomain& d = GetParam();
    const Tally tally = in_threads(d.name, d.count * kScale, [&](Inputs& in, Ref& ref, Tally& t, int n) {
        for (int i = 0; i < n; ++i) {
            const auto [x, y] = d.gen(in);
            t.add(fm::pow(x, y), ref.pow(x, y), hex(x) + " " + hex(y));
        }
    });
    std::printf("%s\n", tally.summary(d.name).c_str());
    EXPECT_EQ(tally.differ, 0u) << tally.summary(d.name);
}

INSTANTIATE_TEST_SUITE_P(Domains, MathExhaustivePow, testing::ValuesIn(pow_domains()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
