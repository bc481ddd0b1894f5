// Gauss-Legendre rules on [-1, 1] and the product-integration weights of
// ln|t - z| against the rule's interpolating polynomials.
#pragma once

#include <array>

#include "math/complex.hpp"

namespace ferravane::field {

using math::Complex;

inline constexpr int kMaxNodes = 16;

struct Rule {
    int n = 0;
    std::array<double, kMaxNodes> t{};  // nodes, ascending
    std::array<double, kMaxNodes> w{};  // weights
    // (V^T)^-1 for V[j][k] = t_j^k: maps the monomial moments of a function
    // to the weights that integrate it against the interpolant of nodal values.
    std::array<double, kMaxNodes * kMaxNodes> moments_to_weights{};
};

// n = 6, 8, 10, 12 or 16; any other n gives the 10-point rule.
Rule gauss_rule(int n);

// Adds to out[j] the integral over [-1, 1] of ln|t - z| times the j-th
// Lagrange polynomial of the rule's nodes; exact for z anywhere, stable
// for |z| up to about 4 (the forward recursion grows errors like |z|^n).
void add_log_weights(const Rule& rule, Complex z, double* out);

}  // namespace ferravane::field
