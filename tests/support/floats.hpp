// Comparing the floats the program computes. The program promises the same
// bits everywhere, so the comparison is bit for bit, a zero's sign included
// (-0.0 prints as "-0.0000"). NaNs are the exception: no output shows a
// NaN's sign or payload, and processors make different NaNs for the same
// invalid operation (x86-64's has its sign bit set, aarch64's has not).
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

namespace ferravane::testing {

// The same bits, or both NaN.
inline bool same_bits(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b) || (std::isnan(a) && std::isnan(b));
}

}  // namespace ferravane::testing
