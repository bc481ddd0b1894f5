// Choosing the arithmetic: what set_kernel and the environment variable's
// values accept and refuse, and which arithmetic the calls then run on. A
// processor without the fused multiply-add is simulated, so that the
// refusal is checked on every machine.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "math/kernels.hpp"
#include "math/math.hpp"

namespace {

using namespace ferravane::math;

class MathKernelChoice : public ::testing::Test {
protected:
    void TearDown() override {
        detail::pretend_no_fma(false);
        set_kernel(Kernel::automatic);
    }
};

// Each step starts from the arithmetic the last one left.
struct Step {
    bool without_fma;  // simulate a processor without it
    Kernel asked;
    bool accepted;
    Kernel active;
};

TEST_F(MathKernelChoice, SetKernelAcceptsWhatTheProcessorCanRun) {
    const bool has_fma = fma_available();
    const Kernel best = has_fma ? Kernel::fma : Kernel::plain;
    const Step steps[] = {
        {false, Kernel::plain, true, Kernel::plain},
        {false, Kernel::fma, has_fma, best},
        {false, Kernel::plain, true, Kernel::plain},
        {false, Kernel::automatic, true, best},
        {true, Kernel::plain, true, Kernel::plain},
        {true, Kernel::fma, false, Kernel::plain},  // refused: the plain one stays
        {true, Kernel::automatic, true, Kernel::plain},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(kernel_name(s.asked)) + (s.without_fma ? " without fma" : ""));
        detail::pretend_no_fma(s.without_fma);
        EXPECT_EQ(set_kernel(s.asked), s.accepted);
        EXPECT_EQ(active_kernel(), s.active);
        EXPECT_EQ(fma_available(), has_fma && !s.without_fma);
    }
}

TEST_F(MathKernelChoice, FunctionsOfEachArithmetic) {
    EXPECT_EQ(detail::functions(Kernel::plain), &detail::kPlainFunctions);
    EXPECT_EQ(detail::functions(Kernel::fma), fma_available() ? &detail::kFusedFunctions : nullptr);
    detail::pretend_no_fma(true);
    EXPECT_EQ(detail::functions(Kernel::fma), nullptr);
    EXPECT_EQ(detail::functions(Kernel::automatic), &detail::kPlainFunctions);
}

TEST(MathKernelNames, EachNameBackToItsKernel) {
    for (const Kernel k : {Kernel::automatic, Kernel::plain, Kernel::fma}) {
        EXPECT_EQ(kernel_named(kernel_name(k)), k);
    }
    for (const char* unknown : {"", "FMA", "fused", "plain ", "auto"}) {
        EXPECT_EQ(kernel_named(unknown), std::nullopt) << unknown;
    }
}

struct Selection {
    const char* value;  // of the environment variable; null: not set
    bool without_fma;
    std::string problem;
    Kernel active;
};

TEST_F(MathKernelChoice, EnvironmentValues) {
    const std::string var = kKernelVariable;
    const Selection cases[] = {
        {"plain", false, "", Kernel::plain},
        {nullptr, false, "", Kernel::plain},  // not set: nothing changes
        {"", false, "", Kernel::plain},
        {"fast", false, var + "=fast: not automatic, plain or fma", Kernel::plain},
        {"fma", true, var + "=fma: this processor has no fused multiply-add", Kernel::plain},
        {"automatic", true, "", Kernel::plain},
    };
    for (const Selection& c : cases) {
        detail::pretend_no_fma(c.without_fma);
        EXPECT_EQ(select_kernel(c.value), c.problem) << (c.value ? c.value : "(not set)");
        EXPECT_EQ(active_kernel(), c.active) << (c.value ? c.value : "(not set)");
    }
    detail::pretend_no_fma(false);
    if (fma_available()) {
        EXPECT_EQ(select_kernel("fma"), "");
        EXPECT_EQ(active_kernel(), Kernel::fma);
    }
}

}  // namespace
