// Time per call of each model routine for a few representative lines.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "model/model.hpp"

namespace {

using namespace ferravane::model;

struct Line {
    float b, er, t, w, zo;
};

// Range index -> line: thin 50-ohm, thick narrow, zero-thickness narrow and
// wide (past the wide-strip switch), and a thin high-impedance line whose
// synthesis takes ten refinement steps.
constexpr Line kLines[] = {
    {0.25f, 2.2f, 0.0014f, 0.2026f, 50.0f},
    {0.25f, 2.2f, 0.05f, 0.1f, 53.0f},
    {0.25f, 2.2f, 0.0f, 0.05f, 100.0f},
    {0.25f, 2.2f, 0.0f, 0.6f, 20.0f},
    {0.25f, 2.2f, 0.01f, 0.0031f, 150.0f},
};

const Line& line(const benchmark::State& state) {
    return kLines[state.range(0)];
}

void label(benchmark::State& state) {
    static constexpr const char* kNames[] = {"thin", "thick", "T0-narrow", "T0-wide", "thin-150ohm"};
    state.SetLabel(kNames[state.range(0)]);
}

void BM_slzo(benchmark::State& state) {
    Line l = line(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(l);
        float zo;
        slzo(l.b, l.er, l.t, l.w, zo);
        benchmark::DoNotOptimize(zo);
    }
    label(state);
}

void BM_slwb(benchmark::State& state) {
    Line l = line(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(l);
        std::int32_t isyne;
        float w;
        float zo = l.zo;
        slwb(l.b, l.er, isyne, l.t, w, zo);
        benchmark::DoNotOptimize(w);
        benchmark::DoNotOptimize(zo);
        benchmark::DoNotOptimize(isyne);
    }
    label(state);
}

void BM_slmode(benchmark::State& state) {
    Line l = line(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(l);
        float tec;
        float wbyb;
        slmode(l.b, l.er, l.t, tec, l.w, wbyb);
        benchmark::DoNotOptimize(tec);
        benchmark::DoNotOptimize(wbyb);
    }
    label(state);
}

void BM_sllos(benchmark::State& state) {
    Line l = line(state);
    float f = 1000.0f;
    float res = 6.7874e-7f;
    float sr = 0.00005f;
    float tlos = 0.0009f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(l);
        benchmark::DoNotOptimize(f);
        Sllos1 los;
        Slsen1 sen;
        sllos(l.b, l.er, f, res, sr, l.t, tlos, l.w, l.zo, los, sen);
        benchmark::DoNotOptimize(los);
        benchmark::DoNotOptimize(sen);
    }
    label(state);
}

void BM_slsen(benchmark::State& state) {
    Line l = line(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(l);
        Slsen1 sen;
        slsen(l.b, l.er, l.t, l.w, l.zo, sen);
        benchmark::DoNotOptimize(sen);
    }
    label(state);
}

BENCHMARK(BM_slzo)->DenseRange(0, 4);
BENCHMARK(BM_slwb)->DenseRange(0, 4);
BENCHMARK(BM_slmode)->DenseRange(0, 4);
BENCHMARK(BM_sllos)->DenseRange(0, 4);
BENCHMARK(BM_slsen)->DenseRange(0, 4);

}  // namespace
