// An 8-point Gauss-Legendre rule for the tests' own integrals, independent
// of the solver's tables.
#pragma once

#include <array>

namespace ferravane::field::gauss8 {

inline constexpr std::array<double, 8> kNodes = {
    -0.9602898564975363, -0.7966664774136267, -0.5255324099163290, -0.1834346424956498,
    0.1834346424956498,  0.5255324099163290,  0.7966664774136267,  0.9602898564975363};
inline constexpr std::array<double, 8> kWeights = {
    0.1012285362903763, 0.2223810344533745, 0.3137066458778873, 0.3626837833783620,
    0.3626837833783620, 0.3137066458778873, 0.2223810344533745, 0.1012285362903763};

}  // namespace ferravane::field::gauss8
