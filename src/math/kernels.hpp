// The two builds of every function, one on each arithmetic of arith.hpp,
// and the tables that dispatch.cpp chooses between. Tests call both
// directly, so that every run checks both whatever the processor prefers.
#pragma once

#include "math/math.hpp"

namespace ferravane::math::detail {

double exp_plain(double x);
double log_plain(double x);
double pow_plain(double x, double y);
double cosh_plain(double x);
double atan_plain(double x);

// Only on a processor with the fused multiply-add (fma_available()).
double exp_fused(double x);
double log_fused(double x);
double pow_fused(double x, double y);
double cosh_fused(double x);
double atan_fused(double x);

struct Functions {
    Kernel kernel;  // plain or fma
    double (*exp)(double);
    double (*log)(double);
    double (*pow)(double, double);
    double (*cosh)(double);
    double (*atan)(double);
};

inline constexpr Functions kPlainFunctions{
    Kernel::plain, exp_plain, log_plain, pow_plain, cosh_plain, atan_plain};
inline constexpr Functions kFusedFunctions{
    Kernel::fma, exp_fused, log_fused, pow_fused, cosh_fused, atan_fused};

// The functions of k (automatic: those it chooses here), or null when k is
// fma and this processor has none.
const Functions* functions(Kernel k);

// Makes fma_available() answer false from now on (or true again, where the
// processor has it), so that tests can see a refusal on any processor.
void pretend_no_fma(bool pretend);

}  // namespace ferravane::math::detail
