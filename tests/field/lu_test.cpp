// The factorisation: the same bits as plain elimination one column at a
// time, and solutions that satisfy their systems.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "field/lu.hpp"

namespace ferravane::field {
namespace {

// Plain elimination with partial pivoting, the textbook loop.
bool plain_lu(std::vector<double>& a, std::size_t n, std::vector<int>& piv) {
    piv.assign(n, 0);
    for (std::size_t k = 0; k < n; ++k) {
        std::size_t p = k;
        for (std::size_t i = k + 1; i < n; ++i) {
            if (std::fabs(a[i * n + k]) > std::fabs(a[p * n + k])) p = i;
        }
        if (a[p * n + k] == 0.0) return false;
        piv[k] = static_cast<int>(p);
        for (std::size_t j = 0; j < n; ++j) std::swap(a[k * n + j], a[p * n + j]);
        const double inv = 1.0 / a[k * n + k];
        for (std::size_t i = k + 1; i < n; ++i) {
            const double l = a[i * n + k] * inv;
            a[i * n + k] = l;
            for (std::size_t j = k + 1; j < n; ++j) a[i * n + j] -= l * a[k * n + j];
        }
    }
    return true;
}

std::vector<double> random_matrix(std::size_t n, std::uint64_t seed, bool log_kernel) {
    std::vector<double> a(n * n);
    for (std::size_t i = 0; i < n * n; ++i) {
        seed = seed * 6364136223846793005u + 1442695040888963407u;
        a[i] = static_cast<double>(seed >> 11) * 0x1p-53 - 0.5;
    }
    if (log_kernel) {  // a dominant diagonal like the collocation matrix's
        for (std::size_t i = 0; i < n; ++i) a[i * n + i] += 5.0;
    }
    return a;
}

TEST(FieldLu, SameBitsAsPlainElimination) {
    for (std::size_t n : {1u, 2u, 3u, 7u, 64u, 131u}) {
        for (bool dominant : {false, true}) {
            std::vector<double> a = random_matrix(n, n * 77 + 1, dominant);
            std::vector<double> b = a;
            std::vector<int> pa, pb;
            ASSERT_TRUE(lu_factor(a, static_cast<int>(n), pa));
            ASSERT_TRUE(plain_lu(b, n, pb));
            EXPECT_EQ(pa, pb) << n;
            std::size_t differ = 0;
            for (std::size_t i = 0; i < n * n; ++i) {
                differ += std::bit_cast<std::uint64_t>(a[i]) != std::bit_cast<std::uint64_t>(b[i]);
            }
            EXPECT_EQ(differ, 0u) << n;
        }
    }
}

TEST(FieldLu, SolvesItsSystem) {
    const std::size_t n = 97;
    const std::vector<double> a0 = random_matrix(n, 5, false);
    std::vector<double> a = a0;
    std::vector<int> piv;
    ASSERT_TRUE(lu_factor(a, static_cast<int>(n), piv));
    std::vector<double> x(n);
    for (std::size_t i = 0; i < n; ++i) x[i] = std::sin(static_cast<double>(i));
    std::vector<double> b(n, 0.0);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j) b[i] += a0[i * n + j] * x[j];
    lu_solve(a, static_cast<int>(n), piv, b.data());
    for (std::size_t i = 0; i < n; ++i) EXPECT_NEAR(b[i], x[i], 1e-10) << i;
}

TEST(FieldLu, SingularMatrixIsRefused) {
    std::vector<double> a = {1.0, 2.0, 3.0, 2.0, 4.0, 6.0, 1.0, 1.0, 1.0};  // rows 1 and 2 dependent
    std::vector<int> piv;
    EXPECT_FALSE(lu_factor(a, 3, piv));
    std::vector<double> nan = {1.0, std::numeric_limits<double>::quiet_NaN(), 0.0, 1.0};
    EXPECT_FALSE(lu_factor(nan, 2, piv));
}

}  // namespace
}  // namespace ferravane::field
