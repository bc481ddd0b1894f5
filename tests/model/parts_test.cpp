// The parts of sllos, slsen and slwb that the tables reuse give, bit for
// bit, what the routines themselves give: over the golden grid, over random
// lines, and with one part serving many values of the other.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "floats.hpp"
#include "golden_grid.hpp"
#include "model/model.hpp"
#include "model/parts.hpp"

namespace ferravane::model {
namespace {

using golden::Inputs;

using ferravane::testing::same_bits;

// Random lines over the ranges the dialog allows and beyond: zero
// thickness, frequency and resistivity in about one case in six.
std::vector<Inputs> random_lines(int n) {
    std::uint32_t state = 0x9E3779B9u;
    const auto uniform = [&state](float lo, float hi) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return lo + (hi - lo) * (static_cast<float>(state >> 8) * 0x1.0p-24f);
    };
    const auto or_zero = [&](float v) { return uniform(0.0f, 6.0f) < 1.0f ? 0.0f : v; };
    std::vector<Inputs> out;
    for (int i = 0; i < n; ++i) {
        const float b = uniform(0.005f, 2.0f);
        out.push_back({b, uniform(1.0f, 13.0f), or_zero(b * uniform(0.0f, 0.5f)),
                       b * uniform(0.0f, 4.0f), uniform(1.0f, 320.0f), or_zero(uniform(0.0f, 40000.0f)),
                       or_zero(uniform(0.0f, 3.0e-6f)), or_zero(uniform(0.0f, 0.0005f)),
                       or_zero(uniform(0.0f, 0.005f))});
    }
    return out;
}

std::vector<Inputs> lines() {
    std::vector<Inputs> all = golden::grid();
    const std::vector<Inputs> more = random_lines(3000);
    all.insert(all.end(), more.begin(), more.end());
    return all;
}

// The records as a call leaves them, starting from values no routine writes.
struct Records {
    Sllos1 los{-7.0f, -7.0f, -7.0f, -7.0f, -7.0f, -7.0f};
    Slsen1 sen{-7.0f, -7.0f, -7.0f, -7.0f};
};

::testing::AssertionResult same(const Records& want, const Records& got) {
    const struct {
        const char* name;
        float want, got;
    } fields[] = {{"ac", want.los.ac, got.los.ac},       {"ad", want.los.ad, got.los.ad},
                  {"atot", want.los.atot, got.los.atot}, {"qu", want.los.qu, got.los.qu},
                  {"wg", want.los.wg, got.los.wg},       {"wl", want.los.wl, got.los.wl},
                  {"szob", want.sen.szob, got.sen.szob}, {"szoer", want.sen.szoer, got.sen.szoer},
                  {"szot", want.sen.szot, got.sen.szot}, {"szow", want.sen.szow, got.sen.szow}};
    for (const auto& f : fields) {
        if (!same_bits(f.want, f.got)) {
            return ::testing::AssertionFailure() << f.name << ": sllos " << f.want << ", parts " << f.got;
        }
    }
    return ::testing::AssertionSuccess();
}

Records plain_loss(float b, float er, float f, float res, float sr, float t, float tlos, float w,
                   float zo) {
    Records r;
    sllos(b, er, f, res, sr, t, tlos, w, zo, r.los, r.sen);
    return r;
}

Records parts_loss(const LossAtFrequency& at, const LossOfLine& line) {
    Records r;
    sllos_combine(at, line, r.los, r.sen);
    return r;
}

TEST(SllosParts, GiveSllosOverTheGridAndRandomLines) {
    int conductor = 0;
    for (const Inputs& in : lines()) {
        const LossAtFrequency at = sllos_frequency(in.er, in.f, in.res, in.sr, in.tlos);
        // As the tables do: the line part only where it is read.
        const LossOfLine line = at.conductor ? sllos_line(in.b, in.er, in.t, in.w) : LossOfLine{};
        conductor += at.conductor ? 1 : 0;
        EXPECT_TRUE(same(plain_loss(in.b, in.er, in.f, in.res, in.sr, in.t, in.tlos, in.w, in.zo),
                         parts_loss(at, line)))
            << golden::line(in);
    }
    EXPECT_GT(conductor, 1000);
}

// One frequency part for every line of a dielectric (the synthesis with
// loss) and one line part for every frequency (the frequency analysis).
TEST(SllosParts, EachPartServesEveryValueOfTheOther) {
    const float cu = 6.7874e-7f;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float f, res, sr, tlos;
    } materials[] = {{1000.0f, cu, 0.0f, 0.0009f},   {1000.0f, cu, 0.00005f, 0.0009f},
                     {0.0f, cu, 0.0f, 0.0009f},      {0.0f, 0.0f, 0.0f, 0.0f},
                     {1000.0f, 0.0f, 0.0f, 0.0009f}, {1000.0f, 0.0f, 0.0f, 0.0f},
                     {1.0e-3f, cu, 0.0002f, 0.0f},   {18000.0f, 1.1e-6f, 0.0002f, 0.002f},
                     {40000.0f, cu, 0.00001f, 0.0f}, {-1000.0f, cu, 0.0f, 0.0009f},
                     {nan, cu, 0.0f, 0.0009f},       {1000.0f, -cu, 0.0f, 0.0009f}};
    std::vector<Inputs> geometry = golden::grid();
    const std::vector<Inputs> more = random_lines(300);
    geometry.insert(geometry.end(), more.begin(), more.end());
    for (const float er : {1.0f, 2.2f, 10.2f}) {
        std::vector<LossOfLine> line_parts;
        for (const Inputs& g : geometry) line_parts.push_back(sllos_line(g.b, er, g.t, g.w));
        for (const auto& m : materials) {
            const LossAtFrequency at = sllos_frequency(er, m.f, m.res, m.sr, m.tlos);
            for (std::size_t i = 0; i < geometry.size(); ++i) {
                const Inputs& g = geometry[i];
                ASSERT_TRUE(same(plain_loss(g.b, er, m.f, m.res, m.sr, g.t, m.tlos, g.w, g.zo),
                                 parts_loss(at, line_parts[i])))
                    << "er " << er << " f " << m.f << " res " << m.res << " line " << i;
            }
        }
    }
}

struct Synthesis {
    float w = -7.0f;
    float zo;
    std::int32_t isyne = -1;
    WidthImpedance of_w{-9.0f, {ZoGeometry::Form::wide, -9.0f}};
};

// Every form of slzo, and the geometry of any of them in another
// dielectric, as slzo gives the line in that dielectric.
TEST(SlzoInTwoSteps, GivesSlzoInEveryDielectric) {
    int forms[3] = {};
    for (const Inputs& in : lines()) {
        const ZoGeometry g = slzo_geometry(in.b, in.t, in.w);
        ++forms[static_cast<int>(g.form)];
        for (const float er : {in.er, 1.0f, 2.2f, 10.2f}) {
            float zo = 0.0f;
            slzo(in.b, er, in.t, in.w, zo);
            EXPECT_TRUE(same_bits(slzo_in(g, er), zo)) << golden::line(in) << " in Er " << er;
        }
    }
    for (const int n : forms) EXPECT_GT(n, 200);
}

// slwb_and_zo gives slwb's width, and an impedance of it from which slsen
// and the line part of sllos give what they give from scratch.
TEST(SlwbAndZo, TheWidthAndWhatTheTablesReuseOfIt) {
    int zero_thickness = 0, refined = 0, failed = 0;
    for (const Inputs& in : lines()) {
        Synthesis plain{.zo = in.zo};
        slwb(in.b, in.er, plain.isyne, in.t, plain.w, plain.zo);
        Synthesis both{.zo = in.zo};
        slwb_and_zo(in.b, in.er, both.isyne, in.t, both.w, both.zo, both.of_w);
        ASSERT_EQ(both.isyne, plain.isyne) << golden::line(in);
        EXPECT_TRUE(same_bits(both.w, plain.w)) << golden::line(in);
        EXPECT_TRUE(same_bits(both.zo, plain.zo)) << golden::line(in);
        if (plain.isyne != 0) {
            EXPECT_EQ(both.of_w.zo, -9.0f) << golden::line(in);
            EXPECT_EQ(both.of_w.geometry.value, -9.0f) << golden::line(in);
            ++failed;
            continue;
        }
        ++(in.t == 0.0f ? zero_thickness : refined);
        // The synthesis with sensitivity: slsen from the impedance in Er.
        Records sen;
        slsen(in.b, in.er, in.t, plain.w, in.zo, sen.sen);
        Records reused;
        slsen_from_zo(in.b, in.er, in.t, plain.w, both.of_w.zo, reused.sen);
        EXPECT_TRUE(same(sen, reused)) << golden::line(in);
        // The synthesis with loss: the air-filled line from the geometry.
        const LossAtFrequency at = sllos_frequency(in.er, in.f, in.res, in.sr, in.tlos);
        const LossOfLine line =
            sllos_line_from_air_zo(in.b, in.er, in.t, plain.w, slzo_in(both.of_w.geometry, 1.0f));
        EXPECT_TRUE(same(plain_loss(in.b, in.er, in.f, in.res, in.sr, in.t, in.tlos, plain.w, in.zo),
                         parts_loss(at, line)))
            << golden::line(in);
    }
    // Every path of the search is taken many times.
    EXPECT_GT(zero_thickness, 300);
    EXPECT_GT(refined, 500);
    EXPECT_GT(failed, 50);
}

}  // namespace
}  // namespace ferravane::model
