#include "field/gauss.hpp"

#include <cmath>

#include "field/elementary.hpp"

namespace ferravane::field {

namespace {

struct Node {
    double t;
    double w;
};

// Nodes and weights printed to the last bit from a long-double Newton
// iteration on the Legendre polynomials.
constexpr Node kRule6[] = {
    {-0x1.dd6ca4e80a01ep-1, 0x1.5edf601e2dbf8p-3},
    {-0x1.528a09655c95ep-1, 0x1.716b7b5794c1cp-2},
    {-0x1.e8b12d03675c5p-3, 0x1.df24d499545e8p-2},
    {0x1.e8b12d03675c5p-3, 0x1.df24d499545e8p-2},
    {0x1.528a09655c95ep-1, 0x1.716b7b5794c1cp-2},
    {0x1.dd6ca4e80a01ep-1, 0x1.5edf601e2dbf8p-3},
};
constexpr Node kRule8[] = {
    {-0x1.ebab1cb0acc66p-1, 0x1.9ea1d04ca0374p-4},
    {-0x1.97e4ab249f41ep-1, 0x1.c76fb531d2b96p-3},
    {-0x1.0d129583284b4p-1, 0x1.413c50a255615p-2},
    {-0x1.77ac94f3c7345p-3, 0x1.736360b199343p-2},
    {0x1.77ac94f3c7345p-3, 0x1.736360b199343p-2},
    {0x1.0d129583284b4p-1, 0x1.413c50a255615p-2},
    {0x1.97e4ab249f41ep-1, 0x1.c76fb531d2b96p-3},
    {0x1.ebab1cb0acc66p-1, 0x1.9ea1d04ca0374p-4},
};
constexpr Node kRule10[] = {
    {-0x1.f2a3e062af2d8p-1, 0x1.1115f8b62dc1fp-4},
    {-0x1.bae995e9cb2f3p-1, 0x1.32138c878efe5p-3},
    {-0x1.5bdb9228de198p-1, 0x1.c0b059d00bc31p-3},
    {-0x1.bbcc009016adcp-2, 0x1.13baa7a559bfep-2},
    {-0x1.30e507891e27ap-3, 0x1.2e9de7014d6efp-2},
    {0x1.30e507891e27ap-3, 0x1.2e9de7014d6efp-2},
    {0x1.bbcc009016adcp-2, 0x1.13baa7a559bfep-2},
    {0x1.5bdb9228de198p-1, 0x1.c0b059d00bc31p-3},
    {0x1.bae995e9cb2f3p-1, 0x1.32138c878efe5p-3},
    {0x1.f2a3e062af2d8p-1, 0x1.1115f8b62dc1fp-4},
};
constexpr Node kRule12[] = {
    {-0x1.f68f1d8e42e81p-1, 0x1.8275d9dea6d8fp-5},
    {-0x1.cee874ffb88b4p-1, 0x1.b60602bce6181p-4},
    {-0x1.8a30aeed88f36p-1, 0x1.47d7258f22d8fp-3},
    {-0x1.2cb4f05c077f9p-1, 0x1.a0163e6b1ab72p-3},
    {-0x1.78a8d20a8b19dp-2, 0x1.de3155c256ab5p-3},
    {-0x1.007a5f8f630e4p-3, 0x1.fe40ce6d4f025p-3},
    {0x1.007a5f8f630e4p-3, 0x1.fe40ce6d4f025p-3},
    {0x1.78a8d20a8b19dp-2, 0x1.de3155c256ab5p-3},
    {0x1.2cb4f05c077f9p-1, 0x1.a0163e6b1ab72p-3},
    {0x1.8a30aeed88f36p-1, 0x1.47d7258f22d8fp-3},
    {0x1.cee874ffb88b4p-1, 0x1.b60602bce6181p-4},
    {0x1.f68f1d8e42e81p-1, 0x1.8275d9dea6d8fp-5},
};
constexpr Node kRule16[] = {
    {-0x1.fa92c264d787ep-1, 0x1.bcddab4b7c211p-6},
    {-0x1.e39f56616f9bp-1, 0x1.fdfb1a2c1265dp-5},
    {-0x1.bb3403514e483p-1, 0x1.85c4ee79cc258p-4},
    {-0x1.82c45dda4726bp-1, 0x1.fe7af2bad386ap-4},
    {-0x1.3c5a466d5e8b8p-1, 0x1.325f61bca3cbfp-3},
    {-0x1.d50259a43a772p-2, 0x1.5a6ebbb5a75fcp-3},
    {-0x1.205cae642337cp-2, 0x1.75f8c77e0c00fp-3},
    {-0x1.852bd6676a9f9p-4, 0x1.83feae80e4dfcp-3},
    {0x1.852bd6676a9f9p-4, 0x1.83feae80e4dfcp-3},
    {0x1.205cae642337cp-2, 0x1.75f8c77e0c00fp-3},
    {0x1.d50259a43a772p-2, 0x1.5a6ebbb5a75fcp-3},
    {0x1.3c5a466d5e8b8p-1, 0x1.325f61bca3cbfp-3},
    {0x1.82c45dda4726bp-1, 0x1.fe7af2bad386ap-4},
    {0x1.bb3403514e483p-1, 0x1.85c4ee79cc258p-4},
    {0x1.e39f56616f9bp-1, 0x1.fdfb1a2c1265dp-5},
    {0x1.fa92c264d787ep-1, 0x1.bcddab4b7c211p-6},
};

// Inverts V^T by Gauss-Jordan elimination with partial pivoting; n <= 16
// and the nodes are well spread, so the inverse loses only a few digits.
void invert_transposed_vandermonde(Rule& r) {
    const int n = r.n;
    double a[kMaxNodes][2 * kMaxNodes] = {};
    for (int k = 0; k < n; ++k) {       // row k of V^T: t_j^k over j
        for (int j = 0; j < n; ++j) {
            double p = 1.0;
            for (int e = 0; e < k; ++e) p *= r.t[static_cast<std::size_t>(j)];
            a[k][j] = p;
        }
        a[k][n + k] = 1.0;
    }
    for (int c = 0; c < n; ++c) {
        int piv = c;
        for (int i = c + 1; i < n; ++i) {
            if (std::fabs(a[i][c]) > std::fabs(a[piv][c])) piv = i;
        }
        for (int j = 0; j < 2 * n; ++j) {
            const double tmp = a[c][j];
            a[c][j] = a[piv][j];
            a[piv][j] = tmp;
        }
        const double d = a[c][c];
        for (int j = 0; j < 2 * n; ++j) a[c][j] /= d;
        for (int i = 0; i < n; ++i) {
            if (i == c) continue;
            const double f = a[i][c];
            if (f == 0.0) continue;
            for (int j = 0; j < 2 * n; ++j) a[i][j] -= f * a[c][j];
        }
    }
    // Stored as [j * kMaxNodes + k]: weight j from moment k.
    for (int j = 0; j < n; ++j) {
        for (int k = 0; k < n; ++k) {
            r.moments_to_weights[static_cast<std::size_t>(j * kMaxNodes + k)] = a[j][n + k];
        }
    }
}

template <std::size_t N>
Rule make(const Node (&nodes)[N]) {
    Rule r;
    r.n = static_cast<int>(N);
    for (std::size_t i = 0; i < N; ++i) {
        r.t[i] = nodes[i].t;
        r.w[i] = nodes[i].w;
    }
    invert_transposed_vandermonde(r);
    return r;
}

}  // namespace

Rule gauss_rule(int n) {
    switch (n) {
        case 6:
            return make(kRule6);
        case 8:
            return make(kRule8);
        case 12:
            return make(kRule12);
        case 16:
            return make(kRule16);
        default:
            return make(kRule10);
    }
}

void add_log_weights(const Rule& rule, Complex z, double* out) {
    const int n = rule.n;
    // g_m = integral of t^m / (t - z): g_0 from the logarithms at the ends,
    // then g_(m+1) = integral of t^m + z g_m. On the segment itself the
    // principal value is the limit of the real parts from either side.
    const double lp = 0.5 * fast_log((1.0 - z.re) * (1.0 - z.re) + z.im * z.im);  // ln|1 - z|
    const double lm = 0.5 * fast_log((1.0 + z.re) * (1.0 + z.re) + z.im * z.im);  // ln|1 + z|
    Complex g{lp - lm, z.im == 0.0 ? 0.0 : atan2(2.0 * z.im, norm2(z) - 1.0)};
    double moments[kMaxNodes];
    for (int k = 0; k < n; ++k) {
        // integral of t^k / (t - z) for the next power, then integration by parts:
        // integral of t^k ln|t - z| = [t^(k+1) ln|t - z|] / (k+1) - Re g_(k+1) / (k+1).
        const double power = (k % 2 == 0) ? 2.0 / static_cast<double>(k + 1) : 0.0;
        g = Complex{power, 0.0} + z * g;
        const double ends = (k % 2 == 0) ? lp + lm : lp - lm;
        moments[k] = (ends - g.re) / static_cast<double>(k + 1);
    }
    for (int j = 0; j < n; ++j) {
        const double* row = &rule.moments_to_weights[static_cast<std::size_t>(j * kMaxNodes)];
        double s = 0.0;
        for (int k = 0; k < n; ++k) s += row[k] * moments[k];
        out[j] += s;
    }
}

}  // namespace ferravane::field
