// The arithmetics a test can run here: plain everywhere, fused where the
// processor has the fused multiply-add. A run without the fused one says
// so on standard output, since it checks only half of the library.
#pragma once

#include <cstdio>
#include <vector>

#include "math/kernels.hpp"
#include "math/math.hpp"

namespace ferravane::math::reference {

inline std::vector<const detail::Functions*> kernels_here() {
    std::vector<const detail::Functions*> out{&detail::kPlainFunctions};
    if (fma_available()) {
        out.push_back(&detail::kFusedFunctions);
    } else {
        std::printf("this processor has no fused multiply-add: only the plain functions are checked\n");
    }
    return out;
}

}  // namespace ferravane::math::reference
