// Time of one field solve for each kind of line, with and without the
// conductor-loss derivative (two more solves), and of the syntheses.
//   build/bench/bench/bench_field --benchmark_repetitions=9 --benchmark_report_aggregates_only
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <optional>

#include "field/field.hpp"

namespace {

using namespace ferravane::field;

constexpr double kInch = 0.0254;

struct Line {
    const char* name;
    double w, t;  // relative to B
    std::optional<double> h;
    double s;  // 0: single
};

// The shipped 50-ohm line; a zero-thickness strip; a 100-ohm centred pair on
// FR-4; an off-centre thick pair; and the hardest corner, a wide thick pair
// almost on its plane.
const Line kLines[] = {
    {"single-50ohm", 0.8104, 0.0056, {}, 0.0},
    {"single-T0", 0.8, 0.0, {}, 0.0},
    {"offcentre-single", 0.4, 0.03, 0.2, 0.0},
    {"pair-centred", 0.3, 0.0226, {}, 0.25},
    {"pair-offcentre-thick", 0.5, 0.1, 0.2, 0.2},
    {"pair-near-plane", 2.0, 0.3, 0.0005, 0.05},
};

CrossSection section(const Line& l) {
    CrossSection cs;
    cs.b = 62e-3 * kInch;
    cs.er = 4.3;
    cs.w = l.w * cs.b;
    cs.t = l.t * cs.b;
    if (l.h) cs.h = *l.h * cs.b;
    if (l.s > 0.0) {
        cs.pairing = Pairing::edge_coupled;
        cs.s = l.s * cs.b;
    }
    return cs;
}

void BM_solve(benchmark::State& state) {
    const Line& l = kLines[state.range(0)];
    const CrossSection cs = section(l);
    Options o;
    o.loss_gradient = state.range(1) != 0;
    int unknowns = 0;
    for (auto _ : state) {
        const Solution s = solve(cs, o);
        benchmark::DoNotOptimize(s.zo);
        unknowns = s.unknowns;
    }
    state.SetLabel(std::string(l.name) + (o.loss_gradient ? "+loss" : ""));
    state.counters["unknowns"] = unknowns;
}
BENCHMARK(BM_solve)->ArgsProduct({{0, 1, 2, 3, 4, 5}, {0, 1}})->Unit(benchmark::kMillisecond);

void BM_synthesize_single_width(benchmark::State& state) {
    CrossSection cs = section(kLines[0]);
    for (auto _ : state) {
        const Synthesis s = synthesize_width(cs, 50.0);
        benchmark::DoNotOptimize(s.cross_section.w);
        state.counters["solves"] = s.solves;
    }
}
BENCHMARK(BM_synthesize_single_width)->Unit(benchmark::kMillisecond);

// W and S of a 100-ohm differential, 30-ohm common pair on 1 oz FR-4.
void BM_synthesize_pair(benchmark::State& state) {
    CrossSection cs = section(kLines[3]);
    for (auto _ : state) {
        const Synthesis s = synthesize_pair(cs, 100.0 / 2.0, 2.0 * 30.0);
        benchmark::DoNotOptimize(s.cross_section.w);
        state.counters["solves"] = s.solves;
    }
}
BENCHMARK(BM_synthesize_pair)->Unit(benchmark::kMillisecond);

// Peak resident memory over many solves: no growth per solve.
void BM_memory(benchmark::State& state) {
    const CrossSection cs = section(kLines[4]);
    auto peak = [] {
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        return static_cast<double>(u.ru_maxrss);
    };
    const Solution warm = solve(cs);
    benchmark::DoNotOptimize(warm.zo);
    const double before = peak();
    for (auto _ : state) {
        for (int i = 0; i < 200; ++i) {
            const Solution s = solve(cs);
            benchmark::DoNotOptimize(s.z_odd);
        }
    }
    state.counters["peak_kib"] = peak();
    state.counters["growth_kib"] = peak() - before;
}
BENCHMARK(BM_memory)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
