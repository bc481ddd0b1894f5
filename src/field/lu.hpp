// Dense LU factorisation with partial pivoting, row-major. Our own rather
// than a library's: its loops and the order of every sum are fixed here, so
// the factors are the same bits on every platform and compiler.
#pragma once

#include <vector>

namespace ferravane::field {

// Factors the n x n matrix a in place; false when a pivot is zero.
bool lu_factor(std::vector<double>& a, int n, std::vector<int>& pivots);

// Solves with the factors, b overwritten by the solution.
void lu_solve(const std::vector<double>& a, int n, const std::vector<int>& pivots, double* b);

}  // namespace ferravane::field
