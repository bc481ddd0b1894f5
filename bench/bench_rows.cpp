// One row of each table kind: its layout into a Layout, then into an
// OutStream over a sink that discards the bytes (the console path), and
// for a stored table into a second one (the report file path).
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "engine/engine.hpp"
#include "run/layouts.hpp"
#include "textio/layout.hpp"
#include "textio/out_stream.hpp"

namespace {

using namespace ferravane;
using textio::Layout;

class NullSink final : public textio::ByteSink {
public:
    void write(std::string_view bytes) override { benchmark::DoNotOptimize(bytes.data()); }
};

// Values of real rows with the shipped defaults.
constexpr model::Sllos1 kFreqLoss{0.2037f, 3.0869f, 3.2906f, 1042.3f, 0.008f, 0.012f};
constexpr model::Sllos1 kSynLoss{0.0085f, 0.0031f, 0.0116f, 295.9f, 7.7f, 11.8f};
constexpr model::Slsen1 kWidthSens{0.9f, -0.5f, -0.007f, -0.891f};
constexpr model::Slsen1 kSynSens{0.335f, -0.5f, -0.027f, -0.308f};

enum Kind { kFrequency, kWidthSensitivity, kSynthesisLoss, kSynthesisSensitivity };
constexpr const char* kNames[] = {"frequency analysis", "width sensitivity", "synthesis with loss",
                                  "synthesis with sensitivity"};

void row(Layout& lay, Kind kind, float x) {
    engine::Row r;
    switch (kind) {
        case kFrequency:
            r.f = x;
            r.loss = kFreqLoss;
            run::layouts::frequency_row(lay, r);
            break;
        case kWidthSensitivity:
            r.strip.w = x;
            r.strip.zo = 14.15f;
            r.strip.wbyb = x * 4.0f;
            r.strip.tec = 3.32f;
            r.strip.sen = kWidthSens;
            r.zo = 14.15f;
            run::layouts::sensitivity_row(lay, r);
            break;
        case kSynthesisLoss:
            r.strip.w = 0.0305f;
            r.strip.zo = x;
            r.strip.wbyb = 0.122f;
            r.strip.tec = 17.52f;
            r.zo = x;
            r.loss = kSynLoss;
            run::layouts::synthesis_loss_row(lay, r);
            break;
        case kSynthesisSensitivity:
            r.strip.w = 0.0298f;
            r.strip.zo = x;
            r.strip.wbyb = 0.1194f;
            r.strip.tec = 17.57f;
            r.strip.sen = kSynSens;
            r.zo = x;
            run::layouts::sensitivity_row(lay, r);
            break;
    }
}

// The swept value moves from row to row as in a table.
float swept(Kind kind, float i) {
    switch (kind) {
        case kFrequency:
            return 1000.0f + i;
        case kWidthSensitivity:
            return 0.001f + i * 1e-6f;
        default:
            return 20.0f + i * 1e-4f;
    }
}

void BM_row(benchmark::State& state) {
    const auto kind = static_cast<Kind>(state.range(0));
    const bool stored = state.range(1) != 0;
    NullSink console_sink;
    NullSink report_sink;
    textio::OutStream console(console_sink);
    textio::OutStream report(report_sink);
    Layout lay;
    float i = 0.0f;
    for (auto _ : state) {
        lay.clear();
        row(lay, kind, swept(kind, i));
        console.write(lay.bytes());
        if (stored) report.write(lay.bytes());
        i += 1.0f;
        if (i >= 65536.0f) i = 0.0f;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(std::string(kNames[kind]) + (stored ? ", stored" : ""));
}
BENCHMARK(BM_row)->ArgsProduct({{kFrequency, kWidthSensitivity, kSynthesisLoss,
                                 kSynthesisSensitivity},
                                {0, 1}});

// The layout alone, without a stream.
void BM_row_layout_only(benchmark::State& state) {
    const auto kind = static_cast<Kind>(state.range(0));
    Layout lay;
    float i = 0.0f;
    for (auto _ : state) {
        lay.clear();
        row(lay, kind, swept(kind, i));
        benchmark::DoNotOptimize(lay.bytes().data());
        i += 1.0f;
        if (i >= 65536.0f) i = 0.0f;
    }
    state.SetLabel(kNames[kind]);
}
BENCHMARK(BM_row_layout_only)->DenseRange(kFrequency, kSynthesisSensitivity);

}  // namespace
