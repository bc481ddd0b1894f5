// Runs on every build, the cross-compiled ones under their emulators
// included, where MPFR is not at hand.
#include <gtest/gtest.h>

#include "each_kernel.hpp"
#include "math_digest.hpp"

namespace {

using namespace ferravane::math;

// The same bits on every platform, compiler, optimisation level and
// arithmetic: these digests were printed by math_digest on x86-64 (g++ and
// clang++, -O0 to -O3) and agree with the aarch64 build under qemu and the
// mingw-w64 build under wine, where MPFR is not at hand.
TEST(MathDigest, SameBitsEverywhere) {
    for (const detail::Functions* f : reference::kernels_here()) {
        SCOPED_TRACE(kernel_name(f->kernel));
        const auto d = digest::digests(200000, *f);
        EXPECT_EQ(d.exp, 0x403f6a876e52ff7du);
        EXPECT_EQ(d.log, 0x10dc04e44bf4e47fu);
        EXPECT_EQ(d.pow, 0x0bef51d212c992f7u);
        EXPECT_EQ(d.cosh, 0x9c8aff89e76097e0u);
        EXPECT_EQ(d.atan, 0x73f594325bf6c28du);
        EXPECT_EQ(d.sin, 0x449a5864bbcf3de9u);
        EXPECT_EQ(d.cos, 0xa78e669133164eeeu);
    }
}

// aarch64 always has the fused multiply-add, so there both must be checked.
TEST(MathDigest, BothArithmeticsWhereTheProcessorAlwaysHasBoth) {
#if defined(__aarch64__)
    EXPECT_TRUE(fma_available());
    EXPECT_EQ(reference::kernels_here().size(), 2u);
#else
    GTEST_SKIP() << "x86-64: the fused multiply-add depends on the processor";
#endif
}

}  // namespace
