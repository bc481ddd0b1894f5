// The closed forms' rows in bulk: every value of about 1.2 million rows of the
// heavy tables (synthesis with loss and sensitivities, width sweeps with
// them), over lines from thin to thick strips and zero thickness, hashed
// bit for bit. The digests were taken from the rows as they were before
// the model's steps were decided through enclosures (989e037), where every
// log, exp and pow was the correctly rounded function itself; any row that
// changes a bit since, on any build or platform, changes its digest.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "engine/engine.hpp"

namespace ferravane::engine {
namespace {

struct Table {
    const char* name;
    Line line;
    bool synthesis;
    float start, step;  // ohms or inches
    int rows;
    std::uint64_t digest;
};

void PrintTo(const Table& t, std::ostream* os) { *os << t.name; }

// FNV-1a over the bits of each value.
class Digest {
public:
    void add(float v) {
        std::uint32_t u = std::bit_cast<std::uint32_t>(v);
        for (int i = 0; i < 4; ++i, u >>= 8) {
            h_ = (h_ ^ (u & 0xffu)) * 0x100000001b3u;
        }
    }
    std::uint64_t value() const { return h_; }

private:
    std::uint64_t h_ = 0xcbf29ce484222325u;
};

constexpr float kCopper = 1.724f * 3.937008e-7f;  // ohm-inches
constexpr float kRough = 50e-6f;                  // inches

Line line(float b, float t, float er, float tlos, float res, float sr) {
    Line l;
    l.b = b;
    l.t = t;
    l.er = er;
    l.tlos = tlos;
    l.res = res;
    l.sr = sr;
    return l;
}

const Table kTables[] = {
    {"shipped_synthesis", line(0.25f, 0.0014f, 2.2f, 0.0009f, kCopper, 0.0f),
     true, 20.0f, 0.0005f, 200000, 0x51a24c20c12b617c},
    {"fr4_synthesis", line(0.062f, 0.0014f, 4.3f, 0.02f, kCopper, kRough),
     true, 15.0f, 0.00075f, 160000, 0xfc0574613cdc8054},
    {"thick_synthesis", line(0.1f, 0.03f, 10.2f, 0.002f, kCopper, 0.0f),
     true, 5.0f, 0.001f, 160000, 0xa6deea74a3dc3607},
    {"thin_synthesis", line(1.0f, 0.0001f, 1.0f, 0.0f, kCopper, 0.0f),
     true, 30.0f, 0.00125f, 120000, 0x5c5dabcc70ea0be0},
    {"zero_thickness_synthesis", line(0.25f, 0.0f, 2.2f, 0.0009f, kCopper, 0.0f),
     true, 12.0f, 0.00125f, 80000, 0x3a7d21138e34ad2c},
    {"shipped_widths", line(0.25f, 0.0014f, 2.2f, 0.0009f, kCopper, 0.0f),
     false, 0.001f, 5e-6f, 200000, 0xd7a974cbb3d968a3},
    {"fr4_widths", line(0.062f, 0.0014f, 4.3f, 0.02f, kCopper, kRough),
     false, 0.001f, 1.25e-6f, 160000, 0x530c6f3c8d431fff},
    {"thick_widths", line(0.1f, 0.03f, 10.2f, 0.002f, kCopper, 0.0f),
     false, 0.0005f, 2.5e-6f, 120000, 0x58f6da7d45efdc80},
};

std::uint64_t digest_of(const Table& t) {
    LineRows rows(t.line, {.sensitivities = true});
    Digest d;
    // Each impedance with the next ones, as the front ends ask for them.
    float window[kAhead + 1];
    std::size_t held = 0;
    for (int i = 0; i < t.rows; ++i) {
        Row row;
        if (t.synthesis) {
            for (; held < std::size(window) && i + static_cast<int>(held) < t.rows; ++held) {
                window[held] = t.start + t.step * static_cast<float>(i + static_cast<int>(held));
            }
            row.strip = rows.for_impedance(window[0], std::span<const float>(window + 1, held - 1));
            std::copy(window + 1, window + held, window);
            --held;
        } else {
            row.strip = rows.of_width(t.start + t.step * static_cast<float>(i));
        }
        const Strip& s = row.strip;
        d.add(s.realised ? 1.0f : 0.0f);
        for (const float v : {s.w, s.zo, s.wbyb, s.tec, s.sen.szob, s.sen.szoer, s.sen.szot, s.sen.szow}) d.add(v);
        if (!s.realised) continue;
        rows.loss_at(row, i % 2 == 0 ? 1000.0f : 10000.0f);
        const model::Sllos1& l = row.loss;
        for (const float v : {l.ac, l.ad, l.atot, l.qu, l.wg, l.wl}) d.add(v);
    }
    return d.value();
}

class TableDigests : public ::testing::TestWithParam<Table> {};

TEST_P(TableDigests, MatchTheRowsOfTheCorrectlyRoundedFunctions) {
    const Table& t = GetParam();
    const std::uint64_t got = digest_of(t);
    char hex[32];
    std::snprintf(hex, sizeof hex, "0x%016llx", static_cast<unsigned long long>(got));
    EXPECT_EQ(got, t.digest) << t.name << ": " << hex;
}

INSTANTIATE_TEST_SUITE_P(Heavy, TableDigests, ::testing::ValuesIn(kTables),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ferravane::engine
