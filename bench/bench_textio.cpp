// Field editing (Fw.d, Iw, Aw, a whole line) and field reading (the
// 13-character numeric field and taking lines from an InStream).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "textio/fields.hpp"
#include "textio/in_stream.hpp"
#include "textio/layout.hpp"
#include "textio/numeric_field.hpp"

namespace {

using namespace ferravane::textio;

struct FCase {
    const char* name;
    int w, d;
    float value;
};

// Row values as the tables print them, then the special cases.
const FCase kFCases[] = {
    {"F7.1 freq 1000.0", 7, 1, 1000.0f},
    {"F7.1 freq 1000000 (stars)", 7, 1, 1000000.0f},
    {"F7.3 wl 11.803", 7, 3, 11.803f},
    {"F9.1 Q 1042.3", 9, 1, 1042.3f},
    {"F8.4 loss -0.2037", 8, 4, -0.2037f},
    {"F9.4 loss -0.0085", 9, 4, -0.0085f},
    {"F8.4 w 0.2026", 8, 4, 0.2026f},
    {"F8.2 zo 119.19", 8, 2, 119.19f},
    {"F8.3 sens -0.891", 8, 3, -0.891f},
    {"F8.3 -0.0004 (-0.000)", 8, 3, -0.0004f},
    {"F9.4 1e-40 (subnormal)", 9, 4, 1e-40f},
    {"F7.2 1e30 (stars)", 7, 2, 1e30f},
    {"F9.4 Infinity", 9, 4, std::numeric_limits<float>::infinity()},
    {"F7.2 NaN", 7, 2, std::numeric_limits<float>::quiet_NaN()},
};

// The run-time editor (the headers' fields), one case at a time.
void BM_edit_f(benchmark::State& state) {
    const FCase& c = kFCases[state.range(0)];
    char buf[16];
    for (auto _ : state) {
        float v = c.value;
        benchmark::DoNotOptimize(v);
        edit_f(buf, v, c.w, c.d);
        benchmark::DoNotOptimize(buf);
    }
    state.SetLabel(c.name);
}
BENCHMARK(BM_edit_f)->DenseRange(0, std::size(kFCases) - 1);

// A spread of magnitudes and signs, so that the branches are not all
// predicted from one value.
std::vector<float> mixed_values() {
    std::vector<float> values;
    std::uint32_t x = 12345u;
    for (int i = 0; i < 1024; ++i) {
        x = x * 1664525u + 1013904223u;
        const float unit = static_cast<float>(x >> 8) / 16777216.0f;  // [0, 1)
        const float mag = unit * static_cast<float>(1 << (i % 12));
        values.push_back((x & 1u) != 0 ? -mag : mag);
    }
    return values;
}

// Those values through the fields of the row layouts with the run-time
// editor...
void BM_edit_f_mixed(benchmark::State& state) {
    struct Field {
        int w, d;
    };
    constexpr Field kFields[] = {{7, 1}, {7, 3}, {8, 4}, {9, 1}, {8, 2}, {9, 4}, {8, 3}, {7, 2}};
    const std::vector<float> values = mixed_values();
    char buf[16];
    std::size_t i = 0;
    for (auto _ : state) {
        const Field& f = kFields[i % std::size(kFields)];
        edit_f(buf, values[i % values.size()], f.w, f.d);
        benchmark::DoNotOptimize(buf);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_edit_f_mixed);

// ...and with the fields fixed at compile time, eight to an iteration as in
// a row.
void BM_edit_f_fixed_mixed(benchmark::State& state) {
    const std::vector<float> values = mixed_values();
    char buf[80];
    std::size_t i = 0;
    for (auto _ : state) {
        char* p = buf;
        p = edit_f<7, 1>(p, values[i % values.size()]);
        p = edit_f<7, 3>(p, values[(i + 1) % values.size()]);
        p = edit_f<8, 4>(p, values[(i + 2) % values.size()]);
        p = edit_f<9, 1>(p, values[(i + 3) % values.size()]);
        p = edit_f<8, 2>(p, values[(i + 4) % values.size()]);
        p = edit_f<9, 4>(p, values[(i + 5) % values.size()]);
        p = edit_f<8, 3>(p, values[(i + 6) % values.size()]);
        edit_f<7, 2>(p, values[(i + 7) % values.size()]);
        benchmark::DoNotOptimize(buf);
        i += 8;
    }
    state.SetItemsProcessed(state.iterations() * 8);
}
BENCHMARK(BM_edit_f_fixed_mixed);

void BM_edit_i(benchmark::State& state) {
    const std::int32_t values[] = {7, 2017, -10};
    const int widths[] = {2, 4, 2};
    const auto k = static_cast<std::size_t>(state.range(0));
    char buf[16];
    for (auto _ : state) {
        std::int32_t v = values[k];
        benchmark::DoNotOptimize(v);
        edit_i(buf, v, widths[k]);
        benchmark::DoNotOptimize(buf);
    }
    static const char* kNames[] = {"I2 7", "I4 2017", "I2 -10 (stars)"};
    state.SetLabel(kNames[k]);
}
BENCHMARK(BM_edit_i)->DenseRange(0, 2);

void BM_edit_a20(benchmark::State& state) {
    std::string_view text = "report.txt          ";
    char buf[24];
    for (auto _ : state) {
        benchmark::DoNotOptimize(text);
        edit_a(buf, text, 20);
        benchmark::DoNotOptimize(buf);
    }
}
BENCHMARK(BM_edit_a20);

// One header line of literals, blanks and real fields.
void BM_layout_width_line(benchmark::State& state) {
    Layout lay;
    float w = 0.2026f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(w);
        lay.clear();
        lay.x(11).lit("W  =").f(9, 4, w).lit("\"").lit("   W/B =").f(7, 4, 0.8104f)
            .lit("    T/B =").f(7, 4, 0.0056f).lit("     Zo =").f(7, 2, 50.01f).lit(" Ohms").end();
        benchmark::DoNotOptimize(lay.bytes().data());
    }
}
BENCHMARK(BM_layout_width_line);

const char* kNumbers[] = {"",         "1000",      "0.0014",        "  2.2",   "1.5-3",
                          "1E20",     "-0.000001", "1234567890123", "nan",     "0.0001"};

void BM_parse_numeric(benchmark::State& state) {
    const std::string_view field = kNumbers[state.range(0)];
    for (auto _ : state) {
        std::string_view f = field;
        benchmark::DoNotOptimize(f);
        auto v = parse_numeric(f);
        benchmark::DoNotOptimize(v);
    }
    std::string label = "'";
    label.append(field);
    label += "'";
    state.SetLabel(label);
}
BENCHMARK(BM_parse_numeric)->DenseRange(0, std::size(kNumbers) - 1);

// Taking the 13-character field of each line of an answer script: short
// answers, blank lines, a long line whose rest is skipped, CR LF ends.
void BM_take_field(benchmark::State& state) {
    std::string script;
    const char* kLines[] = {"2\n", "\n", "0.25\n", "0.0014\r\n", "2.2\n",
                            "1000000      with a comment after the field\n"};
    for (std::size_t i = 0; i < 600; ++i) script += kLines[i % std::size(kLines)];
    std::string field;
    std::unique_ptr<StringSource> source;
    std::unique_ptr<InStream> in;
    std::int64_t lines = 0;
    for (auto _ : state) {
        if (!in || in->take_field(kNumericWidth, true, field) != ReadStatus::ok) {
            source = std::make_unique<StringSource>(script);
            in = std::make_unique<InStream>(*source);
            in->take_field(kNumericWidth, true, field);
        }
        benchmark::DoNotOptimize(field.data());
        ++lines;
    }
    state.SetItemsProcessed(lines);
}
BENCHMARK(BM_take_field);

// The whole answer: one line taken and read as a number.
void BM_take_and_parse(benchmark::State& state) {
    std::string script;
    const char* kLines[] = {"2\n", "\n", "0.25\n", "0.0014\n", "2.2\n", "0.0009\n"};
    for (std::size_t i = 0; i < 600; ++i) script += kLines[i % std::size(kLines)];
    std::string field;
    std::unique_ptr<StringSource> source;
    std::unique_ptr<InStream> in;
    for (auto _ : state) {
        if (!in || in->take_field(kNumericWidth, true, field) != ReadStatus::ok) {
            source = std::make_unique<StringSource>(script);
            in = std::make_unique<InStream>(*source);
            in->take_field(kNumericWidth, true, field);
        }
        auto v = parse_numeric(field);
        benchmark::DoNotOptimize(v);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_take_and_parse);

}  // namespace
