// Runs on every build, the cross-compiled ones under their emulators
// included, where MPFR is not at hand.
#include <gtest/gtest.h>

#include "math_digest.hpp"

namespace {

// The same bits on every platform, compiler and optimisation level: these
// digests were printed by math_digest on x86-64 (g++ and clang++, -O0 to
// -O3) and agree with the aarch64 build under qemu and the mingw-w64 build
// under wine, where MPFR is not at hand.
TEST(MathDigest, SameBitsEverywhere) {
    const auto d = ferravane::math::digest::digests(200000);
    EXPECT_EQ(d.exp, 0x403f6a876e52ff7du);
    EXPECT_EQ(d.log, 0x10dc04e44bf4e47fu);
    EXPECT_EQ(d.pow, 0x0bef51d212c992f7u);
    EXPECT_EQ(d.cosh, 0x9c8aff89e76097e0u);
    EXPECT_EQ(d.atan, 0x73f594325bf6c28du);
    EXPECT_EQ(d.sin, 0x449a5864bbcf3de9u);
    EXPECT_EQ(d.cos, 0xa78e669133164eeeu);
}

}  // namespace
