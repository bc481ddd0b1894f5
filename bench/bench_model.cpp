// Time per call of each model routine for a few representative lines.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "model/model.hpp"
#include "engine/engine.hpp"

namespace {

using namespace ferravane::model;
namespace engine = ferravane::engine;

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

// The model work of one table row on the default 50-ohm line, as the plain
// call sequence has it (every routine in every row) and as the row engine
// does it (what does not change within the table computed once). The
// swept value moves from row to row as in a table.
enum RowKind { kFrequency, kWidthSensitivity, kSynthesisLoss, kSynthesisSensitivity };
constexpr const char* kRowNames[] = {"frequency analysis", "width sensitivity",
                                     "synthesis with loss", "synthesis with sensitivity"};
constexpr float kB = 0.25f, kEr = 2.2f, kT = 0.0014f, kRes = 6.6929e-7f, kSr = 0.0000025f,
                kTlos = 0.0009f;

void BM_row(benchmark::State& state) {
    const auto kind = static_cast<RowKind>(state.range(0));
    const bool plain = state.range(1) == 0;
    Sllos1 los;
    Slsen1 sen;
    engine::Line line;
    line.b = kB;
    line.t = kT;
    line.er = kEr;
    line.tlos = kTlos;
    line.res = kRes;
    line.sr = kSr;
    engine::Wanted wanted;
    wanted.sensitivities = kind == kWidthSensitivity || kind == kSynthesisSensitivity;
    engine::LineRows rows(line, wanted);
    if (kind == kFrequency) rows.of_width(0.2026f);
    engine::Row row;
    float x = 0.0f;
    for (auto _ : state) {
        float tec, wbyb, zo, w = 0.2026f;
        std::int32_t isyne;
        switch (kind) {
            case kFrequency:
                if (plain) {
                    sllos(kB, kEr, 1000.0f + x, kRes, kSr, kT, kTlos, w, 50.0f, los, sen);
                } else {
                    los = rows.loss_at(row, 1000.0f + x).loss;
                }
                break;
            case kWidthSensitivity:
                w = 0.01f + x * 1e-6f;
                if (plain) {
                    slzo(kB, kEr, kT, w, zo);
                    slsen(kB, kEr, kT, w, zo, sen);
                    slmode(kB, kEr, kT, tec, w, wbyb);
                } else {
                    sen = rows.of_width(w).sen;
                }
                break;
            case kSynthesisLoss:
                zo = 20.0f + x * 1e-4f;
                if (plain) {
                    slwb(kB, kEr, isyne, kT, w, zo);
                    sllos(kB, kEr, 1000.0f, kRes, kSr, kT, kTlos, w, zo, los, sen);
                    slmode(kB, kEr, kT, tec, w, wbyb);
                } else {
                    // The next rows' impedances, found side by side (three
                    // rows of four then take their strips from the first).
                    const float next[] = {20.0f + (x + 1.0f) * 1e-4f, 20.0f + (x + 2.0f) * 1e-4f,
                                          20.0f + (x + 3.0f) * 1e-4f};
                    w = rows.for_impedance(zo, next).w;
                    los = rows.loss_at(row, 1000.0f).loss;
                }
                break;
            case kSynthesisSensitivity:
                zo = 20.0f + x * 1e-4f;
                if (plain) {
                    slwb(kB, kEr, isyne, kT, w, zo);
                    slsen(kB, kEr, kT, w, zo, sen);
                    slmode(kB, kEr, kT, tec, w, wbyb);
                } else {
                    const float next[] = {20.0f + (x + 1.0f) * 1e-4f, 20.0f + (x + 2.0f) * 1e-4f,
                                          20.0f + (x + 3.0f) * 1e-4f};
                    const engine::Strip& strip = rows.for_impedance(zo, next);
                    w = strip.w;
                    sen = strip.sen;
                }
                break;
        }
        benchmark::DoNotOptimize(los);
        benchmark::DoNotOptimize(sen);
        benchmark::DoNotOptimize(w);
        x = x < 65536.0f ? x + 1.0f : 0.0f;
    }
    state.SetLabel(std::string(kRowNames[kind]) + (plain ? ", every routine" : ", row engine"));
}
BENCHMARK(BM_row)->ArgsProduct({{kFrequency, kWidthSensitivity, kSynthesisLoss,
                                 kSynthesisSensitivity},
                                {0, 1}});
