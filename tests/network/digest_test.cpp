// The files must be the same bytes on every platform, compiler and
// optimisation level: a digest of the Touchstone text of many sections,
// printed on x86-64 and checked here by every build, the cross-compiled
// ones under their emulators included.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "network/touchstone.hpp"

namespace {

namespace nw = ferravane::network;

// Inputs from integer arithmetic and IEEE operations only, so that every
// platform draws the same ones.
class Draw {
public:
    double unit() {  // splitmix64
        std::uint64_t z = (s_ += 0x9e3779b97f4a7c15);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
        z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
        return static_cast<double>((z ^ (z >> 31)) >> 11) * 0x1p-53;
    }
    double uniform(double a, double b) { return a + (b - a) * unit(); }

private:
    std::uint64_t s_ = 42;
};

std::uint64_t fnv(const std::string& bytes) {
    std::uint64_t h = 0xcbf29ce484222325;
    for (const char c : bytes) {
        h = (h ^ static_cast<unsigned char>(c)) * 0x100000001b3;
    }
    return h;
}

std::string files(int lines) {
    Draw d;
    std::string out;
    using V = nw::TouchstoneVersion;
    for (int i = 0; i < lines; ++i) {
        // One draw a statement: the order of a call's arguments is unspecified.
        const double er = d.uniform(1.0, 12.0);
        const double tand = d.uniform(0.0, 0.03);
        const nw::Dielectric model = i % 2 ? nw::Dielectric::djordjevic : nw::Dielectric::constant;
        const double f_ref = d.uniform(1e8, 5e10);
        const nw::Medium m{er, tand, model, f_ref};
        const nw::Mode even{d.uniform(40.0, 300.0)};
        const nw::Mode odd{even.z_air * d.uniform(0.5, 1.0)};
        const double r = d.uniform(0.0, 50.0);
        const double length = d.uniform(0.0, 2.0);
        const double z0 = d.uniform(20.0, 120.0);
        const nw::TouchstoneLayout two{i % 3 ? V::v1_1 : V::v2_0, 2, false, z0, 20};
        const nw::TouchstoneLayout four{i % 3 ? V::v1_1 : V::v2_0, 4, i % 3 == 0, z0, 20};
        nw::TouchstoneWriter w2{two};
        nw::TouchstoneWriter w4{four};
        nw::touchstone_header(out, two, nw::port_comments(two));
        nw::touchstone_header(out, four, nw::port_comments(four));
        for (int k = 0; k < 20; ++k) {
            const double f = k == 0 ? 0.0 : k * 5e9 + d.uniform(0.0, 4e9);  // from 0 Hz, rising
            const double r_f = r * std::sqrt(f * 1e-9);
            EXPECT_EQ(nw::touchstone_point(w2, out, f, nw::single_section(even, r_f, m, f, length, z0)),
                      nw::PointStatus::written);
            const nw::FourPort pair = nw::pair_section(even, r_f, odd, 1.3 * r_f, m, f, length, z0);
            EXPECT_EQ(nw::touchstone_point(w4, out, f, pair), nw::PointStatus::written);
        }
        EXPECT_TRUE(nw::touchstone_end(w2, out));
        EXPECT_TRUE(nw::touchstone_end(w4, out));
    }
    return out;
}

TEST(NetworkDigest, SameBytesEverywhere) {
    const std::string text = files(300);
    std::printf("touchstone digest %016llx of %zu bytes\n", static_cast<unsigned long long>(fnv(text)),
                text.size());
    EXPECT_EQ(fnv(text), 0x2436840a418144bcu);
}

}  // namespace
