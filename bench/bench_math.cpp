// Time per call of the project's exp, log, pow, cosh and atan, in each
// arithmetic (plain, and fma where the processor has it), and of the C
// library's, over the argument ranges the model uses. Two ways:
//
//   BM_exp_fma         independent calls (a table of arguments walked in
//                      turn): the calls overlap, so this is throughput;
//   BM_exp_fma_chain   each call's argument waits for the last result, as
//                      in the model's steps: this is latency. The link,
//                      a + r * 0.0, adds a multiply and an add; BM_link_chain
//                      times it alone.
//
// The arithmetic is chosen with set_kernel before each benchmark, and the
// calls go through the public functions as the model's do.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstddef>
#include <random>
#include <string>
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

enum class Calls { independent, chained };

// f over the range's arguments; ours in arithmetic k (the C library's: any).
template <double (*f)(double, double)>
void run(benchmark::State& state, fm::Kernel k, Range range, Calls calls) {
    if (!fm::set_kernel(k)) {
        state.SkipWithError("this processor has no fused multiply-add");
        return;
    }
    const Args a = make_args(range);
    std::size_t i = 0;
    double r = 0.0;
    for (auto _ : state) {
        if (calls == Calls::independent) {
            benchmark::DoNotOptimize(f(a.x[i], a.y[i]));
        } else {
            r = f(a.x[i] + r * 0.0, a.y[i]);
        }
        i = (i + 1) & (kCount - 1);
    }
    benchmark::DoNotOptimize(r);
    fm::set_kernel(fm::Kernel::automatic);
}

double exp_ours(double x, double) { return fm::exp(x); }
double log_ours(double x, double) { return fm::log(x); }
double pow_ours(double x, double y) { return fm::pow(x, y); }
double cosh_ours(double x, double) { return fm::cosh(x); }
double atan_ours(double x, double) { return fm::atan(x); }
double exp_libm(double x, double) { return std::exp(x); }
double log_libm(double x, double) { return std::log(x); }
double pow_libm(double x, double y) { return std::pow(x, y); }
double cosh_libm(double x, double) { return std::cosh(x); }
double atan_libm(double x, double) { return std::atan(x); }
double identity(double x, double) { return x; }

using Runner = void (*)(benchmark::State&, fm::Kernel, Range, Calls);

struct Function {
    const char* name;
    Range range;
    Runner ours;
    Runner libm;
};

constexpr Function kFunctions[] = {
    {"exp", kExp, run<exp_ours>, run<exp_libm>},    {"log", kLog, run<log_ours>, run<log_libm>},
    {"pow", kPow, run<pow_ours>, run<pow_libm>},    {"cosh", kCosh, run<cosh_ours>, run<cosh_libm>},
    {"atan", kAtan, run<atan_ours>, run<atan_libm>},
};

// BM_<function>_<plain|fma|libm>[_chain], and BM_link_chain.
const bool kRegistered = [] {
    for (const Function& f : kFunctions) {
        for (const Calls calls : {Calls::independent, Calls::chained}) {
            const std::string suffix = calls == Calls::chained ? "_chain" : "";
            const struct {
                const char* name;
                fm::Kernel kernel;
                Runner runner;
            } variants[] = {{"plain", fm::Kernel::plain, f.ours},
                            {"fma", fm::Kernel::fma, f.ours},
                            {"libm", fm::Kernel::automatic, f.libm}};
            for (const auto& v : variants) {
                const std::string name = std::string("BM_") + f.name + "_" + v.name + suffix;
                benchmark::RegisterBenchmark(name.c_str(), v.runner, v.kernel, f.range, calls);
            }
        }
    }
    benchmark::RegisterBenchmark("BM_link_chain", run<identity>, fm::Kernel::automatic, kExp, Calls::chained);
    return true;
}();

}  // namespace
