// The public functions, each a jump through the table of the arithmetic in
// use: plain or fused, chosen on the first call (or by set_kernel) and then
// fixed, so that a call pays one load and an indirect jump that the
// processor predicts.
#include <atomic>
#include <cstdlib>

#include "math/arith.hpp"
#include "math/kernels.hpp"
#include "math/math.hpp"

namespace ferravane::math {

namespace detail {

namespace {

std::atomic<bool> g_pretend_no_fma{false};

bool processor_has_fma() {
#if defined(__x86_64__)
    __builtin_cpu_init();  // before static constructors have run, too
    return __builtin_cpu_supports("fma") != 0;
#else
    return kFmaBuilt;
#endif
}

const Functions* resolve();

// The table before the first call: each entry chooses, then calls.
double exp_first(double x) { return resolve()->exp(x); }
double log_first(double x) { return resolve()->log(x); }
double pow_first(double x, double y) { return resolve()->pow(x, y); }
double cosh_first(double x) { return resolve()->cosh(x); }
double atan_first(double x) { return resolve()->atan(x); }
constexpr Functions kFirst{Kernel::automatic, exp_first, log_first, pow_first, cosh_first, atan_first};

// Relaxed loads suffice: the tables are constants, so a thread that sees a
// pointer sees what it points to.
constinit std::atomic<const Functions*> g_active{&kFirst};

const Functions* resolve() {
    const Functions* expected = &kFirst;
    // A set_kernel on another thread in the meantime wins.
    g_active.compare_exchange_strong(expected, functions(Kernel::automatic), std::memory_order_relaxed);
    return g_active.load(std::memory_order_relaxed);
}

const Functions* active() { return g_active.load(std::memory_order_relaxed); }

}  // namespace

const Functions* functions(Kernel k) {
    switch (k) {
    case Kernel::plain:
        return &kPlainFunctions;
    case Kernel::fma:
        return fma_available() ? &kFusedFunctions : nullptr;
    case Kernel::automatic:
        break;
    }
    return fma_available() ? &kFusedFunctions : &kPlainFunctions;
}

void pretend_no_fma(bool pretend) { g_pretend_no_fma.store(pretend); }

}  // namespace detail

using detail::active;

double exp(double x) { return active()->exp(x); }
double log(double x) { return active()->log(x); }
double pow(double x, double y) { return active()->pow(x, y); }
double cosh(double x) { return active()->cosh(x); }
double atan(double x) { return active()->atan(x); }

bool fma_available() {
    static const bool has = detail::processor_has_fma();
    return has && !detail::g_pretend_no_fma.load();
}

bool set_kernel(Kernel k) {
    const detail::Functions* f = detail::functions(k);
    if (f == nullptr) {
        return false;
    }
    detail::g_active.store(f, std::memory_order_relaxed);
    return true;
}

Kernel active_kernel() {
    const detail::Functions* f = active();
    return f->kernel == Kernel::automatic ? detail::resolve()->kernel : f->kernel;
}

const char* kernel_name(Kernel k) {
    switch (k) {
    case Kernel::plain:
        return "plain";
    case Kernel::fma:
        return "fma";
    case Kernel::automatic:
        break;
    }
    return "automatic";
}

std::optional<Kernel> kernel_named(std::string_view name) {
    for (const Kernel k : {Kernel::automatic, Kernel::plain, Kernel::fma}) {
        if (name == kernel_name(k)) {
            return k;
        }
    }
    return std::nullopt;
}

std::string select_kernel(const char* value) {
    if (value == nullptr || *value == '\0') {
        return "";
    }
    const std::optional<Kernel> k = kernel_named(value);
    if (!k) {
        return std::string(kKernelVariable) + "=" + value + ": not automatic, plain or fma";
    }
    if (!set_kernel(*k)) {
        return std::string(kKernelVariable) + "=" + value + ": this processor has no fused multiply-add";
    }
    return "";
}

std::string select_kernel_from_environment() { return select_kernel(std::getenv(kKernelVariable)); }

}  // namespace ferravane::math
