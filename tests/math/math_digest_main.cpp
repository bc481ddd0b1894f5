// Prints the digests of math_digest.hpp, for builds that cannot run the
// tests, e.g. cross-compiled ones under an emulator:
//   math_digest   (compare with the values in math_test.cpp)
#include <cinttypes>
#include <cstdio>

#include "math_digest.hpp"

int main() {
    const auto d = ferravane::math::digest::digests(200000);
    std::printf("exp %016" PRIx64 "\nlog %016" PRIx64 "\npow %016" PRIx64 "\ncosh %016" PRIx64
                "\natan %016" PRIx64 "\nsin %016" PRIx64 "\ncos %016" PRIx64 "\n",
                d.exp, d.log, d.pow, d.cosh, d.atan, d.sin, d.cos);
    return 0;
}
