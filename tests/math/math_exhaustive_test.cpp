// Twenty times the quick test's random inputs, about forty million, each
// against MPFR's correctly rounded result, in both arithmetics: the
// reference is taken once an input, so the second arithmetic adds little.
// Minutes of work on two threads, so the test carries the CTest label
// "exhaustive".
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
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

// Runs body(inputs, ref, tallies, n) on each thread with its own seed and
// share of the inputs, merges the tallies, prints them and expects no
// difference.
template <typename Body>
void in_threads(const char* name, int count, Body body) {
    std::vector<KernelTallies> parts(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            Inputs in(std::hash<std::string>{}(name) * 31 + static_cast<std::uint64_t>(t) + 1);
            Ref ref;
            body(in, ref, parts[static_cast<std::size_t>(t)], count / kThreads);
        });
    }
    for (auto& th : threads) {
        th.join();
    }
    KernelTallies all = parts[0];
    for (std::size_t t = 1; t < parts.size(); ++t) {
        for (std::size_t k = 0; k < all.tallies.size(); ++k) {
            all.tallies[k].merge(parts[t].tallies[k]);
        }
    }
    for (std::size_t k = 0; k < all.tallies.size(); ++k) {
        std::printf("%s\n", all.summary(name, k).c_str());
        EXPECT_EQ(all.tallies[k].differ, 0u) << all.summary(name, k);
    }
}

class MathExhaustiveUnary : public testing::TestWithParam<UnaryDomain> {};

TEST_P(MathExhaustiveUnary, CorrectlyRounded) {
    const UnaryDomain& d = GetParam();
    in_threads(d.name, d.count * kScale, [&](Inputs& in, Ref& ref, KernelTallies& t, int n) {
        for (int i = 0; i < n; ++i) {
            const double x = d.gen(in);
            const double want = (ref.*d.ref)(x);
            for (std::size_t k = 0; k < t.kernels.size(); ++k) {
                t.tallies[k].add((t.kernels[k]->*d.ours)(x), want, x);
            }
        }
    });
}

INSTANTIATE_TEST_SUITE_P(Domains, MathExhaustiveUnary, testing::ValuesIn(unary_domains()),
                         [](const auto& info) { return std::string(info.param.name); });
class TrigExhaustive : public testing::TestWithParam<TrigDomain> {};

TEST_P(TrigExhaustive, CorrectlyRounded) {
    const TrigDomain& d = GetParam();
    in_threads(d.name, d.count * kScale, [&](Inputs& in, Ref& ref, KernelTallies& t, int n) {
        for (int i = 0; i < n; ++i) {
            const double x = d.gen(in);
            t.tallies[0].add(d.ours(x), (ref.*d.ref)(x), x);
        }
    });
}

INSTANTIATE_TEST_SUITE_P(Trig, TrigExhaustive, testing::ValuesIn(trig_domains()),
                         [](const auto& info) { return std::string(info.param.name); });

class MathExhaustivePow : public testing::TestWithParam<PowDomain> {};

TEST_P(MathExhaustivePow, CorrectlyRounded) {
    const PowDomain& d = GetParam();
    in_threads(d.name, d.count * kScale, [&](Inputs& in, Ref& ref, KernelTallies& t, int n) {
        for (int i = 0; i < n; ++i) {
            const auto [x, y] = d.gen(in);
            const double want = ref.pow(x, y);
            for (std::size_t k = 0; k < t.kernels.size(); ++k) {
                t.tallies[k].add(t.kernels[k]->pow(x, y), want, x, y);
            }
        }
    });
}

INSTANTIATE_TEST_SUITE_P(Domains, MathExhaustivePow, testing::ValuesIn(pow_domains()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
