// The row loops give, row by row, the values that the plain call sequence
// of each table gives (every routine called in full in every row, as the
// driver's steps list them), for random lines and ranges.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "floats.hpp"
#include "model/model.hpp"
#include "model/sweep.hpp"
#include "engine/engine.hpp"
#include "run/sweeps.hpp"
#include "state/design_state.hpp"

namespace ferravane::run {
namespace {

// One row as printed: its kind, four values and the record it shows.
struct Row {
    char kind;  // 'f'requency, 'l'oss, 's'ensitivity, 'u'nrealisable
    float v[4];
    model::Sllos1 los;
    model::Slsen1 sen;
};

struct Recorder {
    std::vector<Row> rows;

    void frequency(const engine::Row& r) { rows.push_back({'f', {*r.f, 0, 0, 0}, r.loss, {}}); }
    void synthesis_loss(const engine::Row& r) {
        rows.push_back({'l', {r.strip.w, r.strip.wbyb, r.zo, r.strip.tec}, r.loss, {}});
    }
    void sensitivity(const engine::Row& r) {
        rows.push_back({'s', {r.strip.w, r.strip.wbyb, r.zo, r.strip.tec}, {}, r.strip.sen});
    }
    void unrealisable(const engine::Row& r) { rows.push_back({'u', {r.strip.zo, 0, 0, 0}, {}, {}}); }
};

// The plain sequences: steps 6.4, 7.2 to 7.3 and 8.2 of the run driver.
void plain_frequency(state::DesignState& s, std::vector<Row>& rows) {
    const state::Blk2& b2 = s.blk2;
    float zo = 0.0f;
    model::Sllos1 sllos1;
    model::Slsen1 slsen1;
    model::slzo(b2.b, b2.er, b2.t, b2.wdef, zo);
    for (std::int64_t il = 0; il <= s.blk1.l; ++il) {
        const float f = model::sweep_point(il, b2.fstep, b2.fmin);
        model::sllos(b2.b, b2.er, f, b2.res, b2.sr, b2.t, b2.tlos, b2.wdef, zo, sllos1, slsen1);
        rows.push_back({'f', {f, 0, 0, 0}, sllos1, {}});
    }
}

void plain_synthesis_loss(state::DesignState& s, std::vector<Row>& rows) {
    const state::Blk1& b1 = s.blk1;
    const state::Blk2& b2 = s.blk2;
    float w = b2.wdef;
    float zo = b1.zmin - b1.zstep;
    model::Sllos1 sllos1;
    model::Slsen1 slsen1;
    const std::int32_t istep = model::step_count(b1.zmin, b1.zmax, b1.zstep, model::kRowTolerance) + 1;
    for (std::int32_t izo = 1; izo <= istep; ++izo) {
        zo = zo + b1.zstep;
        const float zod = zo;
        if (zo > b1.zmax) zo = b1.zmax;
        std::int32_t isyne = 0;
        model::slwb(b2.b, b2.er, isyne, b2.t, w, zo);
        if (isyne != 0) return rows.push_back({'u', {zo, 0, 0, 0}, {}, {}});
        zo = zod;
        model::sllos(b2.b, b2.er, b1.fdef, b2.res, b2.sr, b2.t, b2.tlos, w, zo, sllos1, slsen1);
        float tec = 0.0f;
        float wbyb = 0.0f;
        model::slmode(b2.b, b2.er, b2.t, tec, w, wbyb);
        zo = zod;
        rows.push_back({'l', {w, wbyb, zod, tec}, sllos1, {}});
    }
}

void plain_sensitivity(state::DesignState& s, std::vector<Row>& rows) {
    const state::Blk1& b1 = s.blk1;
    const state::Blk2& b2 = s.blk2;
    float w = b2.wdef;
    float zo = 0.0f;
    model::Slsen1 slsen1;
    for (std::int64_t il = 0; il <= b1.l; ++il) {
        if (b1.ifunc != 2) {
            w = model::sweep_point(il, b1.wstep, b1.wmin);
            model::slzo(b2.b, b2.er, b2.t, w, zo);
        } else {
            zo = model::sweep_point(il, b1.zstep, b1.zmin);
            const float zod = zo;
            std::int32_t isyne = 0;
            model::slwb(b2.b, b2.er, isyne, b2.t, w, zo);
            if (isyne != 0) return rows.push_back({'u', {zo, 0, 0, 0}, {}, {}});
            zo = zod;
        }
        model::slsen(b2.b, b2.er, b2.t, w, zo, slsen1);
        float tec = 0.0f;
        float wbyb = 0.0f;
        model::slmode(b2.b, b2.er, b2.t, tec, w, wbyb);
        rows.push_back({'s', {w, wbyb, zo, tec}, {}, slsen1});
    }
}

using ferravane::testing::same_bits;

std::string differences(const std::vector<Row>& want, const std::vector<Row>& got) {
    std::ostringstream out;
    if (want.size() != got.size()) out << want.size() << " rows, not " << got.size() << "; ";
    for (std::size_t i = 0; i < want.size() && i < got.size(); ++i) {
        const Row& a = want[i];
        const Row& b = got[i];
        const float fa[] = {a.v[0], a.v[1], a.v[2], a.v[3], a.los.ac, a.los.ad, a.los.atot, a.los.qu,
                            a.los.wg, a.los.wl, a.sen.szob, a.sen.szoer, a.sen.szot, a.sen.szow};
        const float fb[] = {b.v[0], b.v[1], b.v[2], b.v[3], b.los.ac, b.los.ad, b.los.atot, b.los.qu,
                            b.los.wg, b.los.wl, b.sen.szob, b.sen.szoer, b.sen.szot, b.sen.szow};
        if (a.kind != b.kind) out << "row " << i << " kind " << a.kind << " not " << b.kind << "; ";
        for (std::size_t k = 0; k < std::size(fa); ++k) {
            if (!same_bits(fa[k], fb[k])) {
                out << "row " << i << " value " << k << ": " << fa[k] << " not " << fb[k] << "; ";
            }
        }
    }
    return out.str();
}

// A line and ranges drawn at random.
struct Draw {
    std::uint32_t state;
    float uniform(float lo, float hi) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return lo + (hi - lo) * (static_cast<float>(state >> 8) * 0x1.0p-24f);
    }
    bool one_in(int n) { return uniform(0.0f, static_cast<float>(n)) < 1.0f; }
};

state::DesignState random_design(Draw& d, std::int32_t ifunc, std::int32_t iop) {
    state::DesignState s;
    state::Blk1& b1 = s.blk1;
    state::Blk2& b2 = s.blk2;
    b1.ifunc = ifunc;
    b2.iop = iop;
    b2.b = d.uniform(0.02f, 1.0f);
    b2.t = d.one_in(4) ? 0.0f : b2.b * d.uniform(0.0f, 0.3f);
    b2.er = d.uniform(1.0f, 12.0f);
    b2.res = d.one_in(6) ? 0.0f : d.uniform(3.0e-7f, 2.0e-6f);
    b2.sr = d.one_in(3) ? 0.0f : d.uniform(0.0f, 0.0002f);
    b2.tlos = d.one_in(4) ? 0.0f : d.uniform(0.0f, 0.003f);
    b2.wdef = b2.b * d.uniform(0.01f, 3.0f);
    b2.fmin = d.one_in(3) ? 0.0f : d.uniform(0.0f, 5000.0f);
    b2.fstep = d.uniform(1.0f, 2000.0f);
    b1.fdef = d.one_in(6) ? 0.0f : d.uniform(1.0f, 20000.0f);
    b1.wmin = b2.b * d.uniform(0.0f, 1.0f);
    b1.wstep = b2.b * d.uniform(0.001f, 0.3f);
    // Impedances scale as 1/sqrt(Er); up to about 300 ohms in air, so that
    // some syntheses end unrealisable.
    const float scale = 1.0f / std::sqrt(b2.er);
    b1.zmin = scale * d.uniform(5.0f, 200.0f);
    b1.zstep = scale * d.uniform(0.5f, 30.0f);
    b1.zmax = b1.zmin + scale * d.uniform(0.0f, 100.0f);
    b1.l = static_cast<std::int32_t>(d.uniform(0.0f, 12.0f));
    return s;
}

struct TableKind {
    const char* name;
    std::int32_t ifunc, iop;
    void (*plain)(state::DesignState&, std::vector<Row>&);
};

void PrintTo(const TableKind& kind, std::ostream* os) { *os << kind.name; }

class SweepsAgainstPlainSequence : public ::testing::TestWithParam<TableKind> {};

TEST_P(SweepsAgainstPlainSequence, RowsBitForBit) {
    const TableKind& kind = GetParam();
    Draw d{0xC0FFEEu + static_cast<std::uint32_t>(kind.ifunc * 2 + kind.iop)};
    int rows = 0;
    int ended = 0;
    for (int i = 0; i < 600; ++i) {
        const state::DesignState start = random_design(d, kind.ifunc, kind.iop);
        state::DesignState plain_state = start;
        std::vector<Row> want;
        kind.plain(plain_state, want);
        Recorder got;
        if (kind.iop == 2) {
            sweeps::sensitivity_rows(start, got);
        } else if (kind.ifunc == 2) {
            sweeps::synthesis_loss_rows(start, got);
        } else {
            sweeps::frequency_rows(start, start.blk2.wdef, got);
        }
        ASSERT_EQ(differences(want, got.rows), "") << kind.name << ", design " << i;
        rows += static_cast<int>(want.size());
        ended += !want.empty() && want.back().kind == 'u' ? 1 : 0;
    }
    EXPECT_GT(rows, 2000);
    if (kind.ifunc == 2) {
        EXPECT_GT(ended, 10) << "no synthesis ran into an unrealisable width";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, SweepsAgainstPlainSequence,
    ::testing::Values(TableKind{"frequency analysis", 1, 1, plain_frequency},
                      TableKind{"width sensitivity", 1, 2, plain_sensitivity},
                      TableKind{"synthesis with loss", 2, 1, plain_synthesis_loss},
                      TableKind{"synthesis with sensitivity", 2, 2, plain_sensitivity}),
    [](const ::testing::TestParamInfo<TableKind>& info) {
        std::string name = info.param.name;
        for (char& c : name) c = c == ' ' ? '_' : c;
        return name;
    });

}  // namespace
}  // namespace ferravane::run
