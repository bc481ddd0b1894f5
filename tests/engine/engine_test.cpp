// The row engine: a synthesis that finds the next strips side by side with
// its own gives the very rows it gives one strip at a time, whatever mix
// of strips found and not found, and each loss part is the strip's own.
#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "engine/engine.hpp"
#include "floats.hpp"

namespace ferravane::engine {
namespace {

using testing::same_bits;

void expect_same(const Row& a, const Row& b) {
    const Strip& s = a.strip;
    const Strip& t = b.strip;
    EXPECT_EQ(s.realised, t.realised);
    EXPECT_EQ(s.why, t.why);
    const float pa[] = {s.w, s.zo, s.wbyb, s.tec, s.sen.szob, s.sen.szoer, s.sen.szot, s.sen.szow,
                        a.loss.ac, a.loss.ad, a.loss.atot, a.loss.qu, a.loss.wg, a.loss.wl};
    const float pb[] = {t.w, t.zo, t.wbyb, t.tec, t.sen.szob, t.sen.szoer, t.sen.szot, t.sen.szow,
                        b.loss.ac, b.loss.ad, b.loss.atot, b.loss.qu, b.loss.wg, b.loss.wl};
    for (std::size_t i = 0; i < std::size(pa); ++i) EXPECT_PRED2(same_bits, pa[i], pb[i]) << "value " << i;
}

// Each row alone, or each with up to kAhead following ones found beside it.
std::vector<Row> rows(const Line& line, Wanted wanted, const std::vector<float>& zos, bool ahead) {
    LineRows engine(line, wanted);
    std::vector<Row> out;
    for (std::size_t i = 0; i < zos.size(); ++i) {
        const std::size_t n = ahead ? std::min(kAhead, zos.size() - i - 1) : 0;
        Row r;
        r.strip = engine.for_impedance(zos[i], std::span<const float>(zos.data() + i + 1, n));
        if (r.strip.realised) engine.loss_at(r, 2400.0f);
        out.push_back(r);
    }
    return out;
}

TEST(Lookahead, SameRowsAsOneAtATime) {
    struct Case {
        const char* name;
        float t;
        std::vector<float> zos;  // some too high to be realised, some repeated
    };
    const Case cases[] = {
        {"finite thickness", 0.0014f, {20, 35, 50, 260, 65, 80, 300, 300, 95, 110, 125, 50, 50}},
        {"zero thickness", 0.0f, {5, 12.5f, 20, 50, 280, 100, 150, 200}},
        {"all beyond", 0.001f, {400, 500, 600}},
    };
    for (const Case& c : cases) {
        for (const bool sensitivities : {false, true}) {
            SCOPED_TRACE(c.name);
            Line line;
            line.b = 0.25f;
            line.t = c.t;
            line.er = 2.2f;
            line.tlos = 0.0009f;
            line.res = 6.6929e-7f;
            line.sr = 2.5e-6f;
            Wanted wanted;
            wanted.sensitivities = sensitivities;
            const std::vector<Row> one = rows(line, wanted, c.zos, false);
            const std::vector<Row> side = rows(line, wanted, c.zos, true);
            ASSERT_EQ(one.size(), side.size());
            for (std::size_t i = 0; i < one.size(); ++i) {
                SCOPED_TRACE(c.zos[i]);
                expect_same(one[i], side[i]);
            }
        }
    }
}

// A lookahead that is not followed (the caller asks for another
// impedance) is dropped, not mistaken for the strip asked for.
TEST(Lookahead, AnotherImpedanceThanTheOneFoundAhead) {
    Line line;
    line.b = 0.25f;
    line.t = 0.0014f;
    line.er = 2.2f;
    LineRows ahead(line);
    const float next[] = {60.0f, 70.0f};
    ahead.for_impedance(50.0f, next);
    const Strip got = ahead.for_impedance(65.0f);
    LineRows plain(line);
    const Strip want = plain.for_impedance(65.0f);
    EXPECT_PRED2(same_bits, got.w, want.w);
    EXPECT_PRED2(same_bits, got.zo, want.zo);
}

}  // namespace
}  // namespace ferravane::engine
