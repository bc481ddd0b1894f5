// The same bits on every build: these values were printed by the native
// x86-64 build (g++ and clang++) and must be reproduced by the aarch64 build
// under qemu and the mingw-w64 build under wine, where the other references
// (the C library's functions) would differ.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "field/field.hpp"

namespace ferravane::field {
namespace {

class Fnv {
public:
    void add(double d) {
        auto u = std::bit_cast<std::uint64_t>(d);
        for (int i = 0; i < 8; ++i, u >>= 8) h_ = (h_ ^ (u & 0xff)) * 0x100000001b3;
    }
    void add(const std::optional<double>& d) { add(d ? *d : -1.0); }
    std::uint64_t value() const { return h_; }

private:
    std::uint64_t h_ = 0xcbf29ce484222325;
};

struct Line {
    double w, t;
    std::optional<double> h;
    double s;
};

// Every path of the solver: quarter, half and whole surfaces, corners and
// edges, near-plane images, pairs' modes and the loss derivative.
const Line kLines[] = {
    {0.8104, 0.0056, {}, 0.0}, {0.3, 0.0, {}, 0.0},  {0.5, 0.1, 0.0005, 0.0}, {2.0, 0.0, 0.2, 0.0},
    {0.5, 0.05, {}, 0.01},     {0.3, 0.0, 0.2, 0.1}, {2.0, 0.3, 0.05, 0.05},
};

CrossSection section(const Line& l) {
    CrossSection cs;
    cs.b = 0.25 * 0.0254;
    cs.er = 2.2;
    cs.w = l.w * cs.b;
    cs.t = l.t * cs.b;
    if (l.h) cs.h = *l.h * cs.b;
    if (l.s > 0.0) {
        cs.pairing = Pairing::edge_coupled;
        cs.s = l.s * cs.b;
    }
    return cs;
}

TEST(FieldDigest, SameBitsEverywhere) {
    Fnv all;
    Materials m;
    m.roughness = 0.5e-6;
    m.tan_delta = 0.0009;
    for (const Line& l : kLines) {
        const CrossSection cs = section(l);
        const Solution s = solve(cs);
        const Losses los = losses(s, cs, m, 2.4e9);
        for (double v : {s.zo, s.z_odd, s.z_even, s.c[0][0], s.c[0][1]}) all.add(v);
        for (const ModeLoss* ml : {&los.single, &los.odd, &los.even}) {
            all.add(ml->conductor);
            all.add(ml->dielectric);
            all.add(ml->q);
        }
    }
    const Synthesis w = synthesize_width(section({0.0, 0.0056, {}, 0.0}), 50.0);
    CrossSection pair = section({0.0, 0.02, 0.3, 0.0});
    pair.pairing = Pairing::edge_coupled;
    const Synthesis both = synthesize_pair(pair, 45.0, 60.0);
    for (double v : {w.cross_section.w, both.cross_section.w, both.cross_section.s}) all.add(v);

    // A few values in full, to see at a glance what differs.
    const Solution shipped = solve(section(kLines[0]));
    std::printf("zo %a  w50 %a  pair w %a s %a  digest %016llx\n", shipped.zo, w.cross_section.w,
                both.cross_section.w, both.cross_section.s, static_cast<unsigned long long>(all.value()));
    EXPECT_EQ(shipped.zo, 0x1.909582d0ecd71p+5);
    EXPECT_EQ(w.cross_section.w, 0x1.5203d202d6f1ep-8);
    EXPECT_EQ(all.value(), 0x3c0ed13eaf7f2675u);
}

}  // namespace
}  // namespace ferravane::field
