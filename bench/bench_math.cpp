// Time per call of the project's exp, log, pow, cosh and atan and of the C
// library's, over the argument ranges the model uses. Calls are independent
// (a table of arguments walked in turn), as in the model's sweeps.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

#include "math/math.hpp"

namespace {

namespace fm = ferravane::math;

constexpr std::size_t kCount = 4096;  // a power of two: the index wraps with a mask

struct Args {
    std::vector<double> x;
    std::vector<double> y;
};

enum Range { kExp, kLog, kPow, kCosh, kAtan };

Args make_args(Range range) {
    std::mt19937_64 gen(42);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    Args a;
    for (std::size_t i = 0; i < kCount; ++i) {
        const double t = u(gen);
        switch (range) {
        case kExp: a.x.push_back(-100.0 + 200.0 * t); break;
        case kLog: a.x.push_back(std::exp((t - 0.5) * 2.0 * 92.1)); break;  // 1e-40 .. 1e40
        case kPow: a.x.push_back(std::exp(-27.6 + t * 41.4)); break;        // 1e-12 .. 1e6
        case kCosh: a.x.push_back(100.0 * t); break;
        case kAtan: a.x.push_back(std::exp(-13.8 + t * 41.4) * (i % 2 ? -1.0 : 1.0)); break;
        }
        a.y.push_back(-3.0 + 6.0 * u(gen));
    }
    return a;
}

template <typename F>
void unary(benchmark::State& state, Range range, F f) {
    const Args a = make_args(range);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(f(a.x[i]));
        i = (i + 1) & (kCount - 1);
    }
}

template <typename F>
void binary(benchmark::State& state, F f) {
    const Args a = make_args(kPow);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(f(a.x[i], a.y[i]));
        i = (i + 1) & (kCount - 1);
    }
}

void BM_exp_ours(benchmark::State& s) { unary(s, kExp, [](double x) { return fm::exp(x); }); }
void BM_exp_libm(benchmark::State& s) { unary(s, kExp, [](double x) { return std::exp(x); }); }
void BM_log_ours(benchmark::State& s) { unary(s, kLog, [](double x) { return fm::log(x); }); }
void BM_log_libm(benchmark::State& s) { unary(s, kLog, [](double x) { return std::log(x); }); }
void BM_pow_ours(benchmark::State& s) { binary(s, [](double x, double y) { return fm::pow(x, y); }); }
void BM_pow_libm(benchmark::State& s) { binary(s, [](double x, double y) { return std::pow(x, y); }); }
void BM_cosh_ours(benchmark::State& s) { unary(s, kCosh, [](double x) { return fm::cosh(x); }); }
void BM_cosh_libm(benchmark::State& s) { unary(s, kCosh, [](double x) { return std::cosh(x); }); }
void BM_atan_ours(benchmark::State& s) { unary(s, kAtan, [](double x) { return fm::atan(x); }); }
void BM_atan_libm(benchmark::State& s) { unary(s, kAtan, [](double x) { return std::atan(x); }); }

BENCHMARK(BM_exp_ours);
BENCHMARK(BM_exp_libm);
BENCHMARK(BM_log_ours);
BENCHMARK(BM_log_libm);
BENCHMARK(BM_pow_ours);
BENCHMARK(BM_pow_libm);
BENCHMARK(BM_cosh_ours);
BENCHMARK(BM_cosh_libm);
BENCHMARK(BM_atan_ours);
BENCHMARK(BM_atan_libm);

}  // namespace
