// Prints the digests of math_digest.hpp, for builds that cannot run the
// tests, e.g. cross-compiled ones under an emulator: those of the plain
// arithmetic and then of the fused one, or of the one FERRAVANE_MATH_KERNEL
// chooses, each through the public functions as the program calls them.
// Refuses (status 2) a processor without the fused multiply-add, or a
// name it does not know: a comparison must not pass on half the library.
//   math_digest   (compare with the values in math_digest_test.cpp)
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "math_digest.hpp"

int main() {
    using namespace ferravane::math;
    std::vector<Kernel> kernels{Kernel::plain, Kernel::fma};
    if (const std::string problem = select_kernel_from_environment(); !problem.empty()) {
        std::fprintf(stderr, "math_digest: %s\n", problem.c_str());
        return 2;
    }
    if (const char* value = std::getenv(kKernelVariable); value != nullptr && *value != '\0') {
        kernels = {active_kernel()};
    }
    constexpr detail::Functions kPublic{Kernel::automatic, exp, log, pow, cosh, atan};
    for (const Kernel k : kernels) {
        if (!set_kernel(k)) {
            std::fprintf(stderr, "math_digest: %s: this processor has no fused multiply-add\n",
                         kernel_name(k));
            return 2;
        }
        const auto d = digest::digests(200000, kPublic);
        const char* name = kernel_name(active_kernel());
        std::printf("%s exp %016" PRIx64 "\n%s log %016" PRIx64 "\n%s pow %016" PRIx64 "\n%s cosh %016" PRIx64
                    "\n%s atan %016" PRIx64 "\n%s sin %016" PRIx64 "\n%s cos %016" PRIx64 "\n",
                    name, d.exp, name, d.log, name, d.pow, name, d.cosh, name, d.atan, name, d.sin, name, d.cos);
    }
    return 0;
}
