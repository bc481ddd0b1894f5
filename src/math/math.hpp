// The project's own exp, log, pow, cosh, atan, sin and cos on doubles. Each
// returns the correctly rounded result (round to nearest, ties to even),
// subnormal results included, with the special values of C's Annex F:
// exp, log, pow, cosh and atan for every argument; sin and cos wherever
// their accurate path decides, which no test has yet found it fail to do.
// They are built from IEEE basic operations (and, where chosen, the fused
// multiply-add, which is exact as well), so they give the same bits on
// every conforming platform, compiler and optimisation level, unlike the C
// library's functions.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ferravane::math {

double exp(double x);
double log(double x);
double pow(double x, double y);
double cosh(double x);
double atan(double x);
double sin(double x);  // radians, any finite x
double cos(double x);

// The arithmetic the functions run on: IEEE basic operations only, or with
// the fused multiply-add, which makes them faster. The results are the
// same bits either way. automatic takes fma where the processor has it (on
// x86-64 a run-time check, on aarch64 always); it is the default.
enum class Kernel { automatic, plain, fma };

// Makes every later call use k. Refuses fma, returning false and changing
// nothing, on a processor without the fused multiply-add.
bool set_kernel(Kernel k);

// plain or fma: the arithmetic of the calls now.
Kernel active_kernel();

bool fma_available();

// "automatic", "plain", "fma", and back.
const char* kernel_name(Kernel k);
std::optional<Kernel> kernel_named(std::string_view name);

// The environment variable that chooses the arithmetic of a program, and
// its effect: applies the kernel a value names (none leaves automatic),
// returning "" or, when it was refused (an unknown name, or fma on a
// processor without it), why; the choice is then left as it was.
inline constexpr const char* kKernelVariable = "FERRAVANE_MATH_KERNEL";
std::string select_kernel(const char* value);
std::string select_kernel_from_environment();

}  // namespace ferravane::math
