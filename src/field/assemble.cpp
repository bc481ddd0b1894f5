// The Green's function between grounded planes y = 0 and y = 1, times 4 pi eps:
//   k(x, y) = ln[(sinh^2 a + sin^2 b+) / (sinh^2 a + sin^2 b-)]
//           = ln(1 + sin(pi y_x) sin(pi y_y) / (sinh^2 a + sin^2 b-)),
// a = pi (x_x - y_x)/2, b-+ = pi (x_y -+ y_y)/2. Far from a panel it is
// evaluated at the panel's nodes from per-node exponentials and half-angle
// sines (a few multiplications and one logarithm). Near a panel its two
// logarithmic singularities, at the point and at its image in the nearer
// plane, are split off,
//   k = 2 ln|x* - y| - 2 ln|x - y| + ln ratio(a, b+) - ln ratio(a, b-),
//   ratio(a, b) = (sinh^2 a + sin^2 b) / (a^2 + b^2),
// and integrated exactly against the panel's interpolating polynomials.
#include "field/assemble.hpp"

#include <cmath>
#include <cstddef>

#include "field/constants.hpp"
#include "field/elementary.hpp"
#include "math/math.hpp"

namespace ferravane::field {

namespace {

constexpr double kHalfPi = kPi / 2.0;

// Singular points with |z| up to this (panel coordinates, [-1, 1]) are
// integrated exactly; beyond it the rule's own nodes are accurate to about
// 1e-9 of the panel's contribution, and the exact recursion would start to
// lose digits.
constexpr double kNearZ = 3.0;

// Per-point values of the far form.
struct Far {
    double e, ie;    // exp(pi x) and its reciprocal
    double hs, hc;   // sin and cos of pi y / 2
    double s2;       // sin(pi y)
};

Far far_of(Point p) {
    Far f;
    f.e = math::exp(kPi * p.x);
    f.ie = 1.0 / f.e;
    const SinCos sc = sin_cos(kHalfPi * p.y);
    f.hs = sc.s;
    f.hc = sc.c;
    f.s2 = 2.0 * sc.s * sc.c;
    return f;
}

Far mirrored(const Far& f, const Image& g) {
    Far m = f;
    if (g.mirror_x) {
        m.e = f.ie;
        m.ie = f.e;
    }
    if (g.mirror_y) {
        m.hs = f.hc;
        m.hc = f.hs;
    }
    return m;
}

Point mirrored(Point p, const Image& g) {
    return {g.mirror_x ? -p.x : p.x, g.mirror_y ? 1.0 - p.y : p.y};
}

inline double far_kernel(const Far& x, const Far& y) {
    const double d = x.e - y.e;
    const double sh2 = (d * d) * (0.25 * x.ie) * y.ie;  // sinh^2 a
    const double sb = x.hs * y.hc - x.hc * y.hs;        // sin b-
    const double den = sh2 + sb * sb;
    return fast_log(1.0 + x.s2 * y.s2 / den);
}

double ratio(double a, double b) {
    const double a2 = a * a;
    const double b2 = b * b;
    const double sum = a2 + b2;
    if (sum == 0.0) return 1.0;
    const double sa = sinhc(a);
    const double sb = sinc(b);
    return (a2 * (sa * sa) + b2 * (sb * sb)) / sum;
}

// The singular points of ln|x - y(t)| over a panel, in its t coordinate,
// and the constant c0: ln|x - y(t)| = c0 + sum over points of ln|t - z|.
struct Singular {
    int count = 0;
    Complex z[3];
    double c0 = 0.0;
};

bool may_be_near(Point x, const Panel& p) {
    if (p.q == 1) {
        const double dx = x.x - p.mid.x;
        const double dy = x.y - p.mid.y;
        const double r = kNearZ * p.len / 2.0;
        return dx * dx + dy * dy <= r * r;
    }
    double f = (kNearZ + 1.0) / 2.0;
    f = p.q == 2 ? f * f : f * f * f;
    const double dx = x.x - p.origin.x;
    const double dy = x.y - p.origin.y;
    const double r = f * p.len;
    return dx * dx + dy * dy <= r * r;
}

Singular singular_points(Point x, const Panel& p) {
    Singular s;
    if (p.q == 1) {
        const double dx = x.x - p.mid.x;
        const double dy = x.y - p.mid.y;
        const double half = p.len / 2.0;
        s.count = 1;
        s.z[0] = {(dx * p.dir.x + dy * p.dir.y) / half, (p.dir.x * dy - p.dir.y * dx) / half};
        s.c0 = fast_log(half);
        return s;
    }
    // |x - origin - dir len tau^q| = len |tau^q - zeta|: the q roots of zeta,
    // moved from tau in [0, 1] to t = 2 tau - 1.
    const double dx = x.x - p.origin.x;
    const double dy = x.y - p.origin.y;
    const Complex zeta{(dx * p.dir.x + dy * p.dir.y) / p.len, (p.dir.x * dy - p.dir.y * dx) / p.len};
    Complex w[3];
    roots(zeta, p.q, w);
    s.count = p.q;
    for (int k = 0; k < p.q; ++k) {
        s.z[k] = {2.0 * w[k].re - 1.0, 2.0 * w[k].im};
    }
    s.c0 = fast_log(p.len) - static_cast<double>(p.q) * fast_log(2.0);
    return s;
}

bool any_near(const Singular& s) {
    for (int k = 0; k < s.count; ++k) {
        if (norm2(s.z[k]) <= kNearZ * kNearZ) return true;
    }
    return false;
}

// out[j] = integral of ln|x - y(t)| l_j(t) dt over the panel: the singular
// points close to it exactly, the others (all of them, when none is close)
// at the nodes, with one logarithm per node for all of them together.
void log_weights(Point x, const Singular& s, const Rule& rule, const Node* nodes, double* out) {
    const int n = rule.n;
    const auto un = static_cast<std::size_t>(n);
    if (!any_near(s)) {
        for (std::size_t j = 0; j < un; ++j) {
            const double dx = x.x - nodes[j].p.x;
            const double dy = x.y - nodes[j].p.y;
            out[j] = rule.w[j] * 0.5 * fast_log(dx * dx + dy * dy);
        }
        return;
    }
    double far[kMaxNodes];
    for (std::size_t j = 0; j < un; ++j) {
        out[j] = s.c0 * rule.w[j];
        far[j] = 1.0;
    }
    bool any_far = false;
    for (int k = 0; k < s.count; ++k) {
        const Complex z = s.z[k];
        if (norm2(z) <= kNearZ * kNearZ) {
            add_log_weights(rule, z, out);
            continue;
        }
        any_far = true;
        for (std::size_t j = 0; j < un; ++j) {
            const double d = rule.t[j] - z.re;
            far[j] *= d * d + z.im * z.im;
        }
    }
    if (!any_far) return;
    for (std::size_t j = 0; j < un; ++j) out[j] += rule.w[j] * 0.5 * fast_log(far[j]);
}

}  // namespace

double green(Point x, Point y) { return far_kernel(far_of(x), far_of(y)); }

void assemble(const Mesh& mesh, const std::vector<Image>& images, const Rule& rule,
              std::vector<double>& same, std::vector<double>* mirrored_out) {
    const std::size_t n = mesh.nodes.size();
    same.assign(n * n, 0.0);
    if (mirrored_out != nullptr) mirrored_out->assign(n * n, 0.0);
    std::vector<Far> far(n);
    for (std::size_t j = 0; j < n; ++j) far[j] = far_of(mesh.nodes[j].p);
    const int m = rule.n;
    double direct[kMaxNodes];
    double image[kMaxNodes];

    for (std::size_t i = 0; i < n; ++i) {
        for (const Image& g : images) {
            const bool apart = g.mirror_x && mirrored_out != nullptr;
            double* row = apart ? &(*mirrored_out)[i * n] : &same[i * n];
            const double sign = apart ? 1.0 : g.sign;
            const Point x = mirrored(mesh.nodes[i].p, g);
            const Far fx = mirrored(far[i], g);
            for (const Panel& p : mesh.panels) {
                // The image of x in the plane nearer to the panel.
                const bool lower = x.y + p.mid.y < 1.0;
                const Point xs{x.x, lower ? -x.y : 2.0 - x.y};
                const bool near_d = may_be_near(x, p);
                const bool near_i = may_be_near(xs, p);
                Singular sd, si;
                bool near = false;
                if (near_d) {
                    sd = singular_points(x, p);
                    near = any_near(sd);
                }
                if (near_i) {
                    si = singular_points(xs, p);
                    near = near || any_near(si);
                }
                const auto first = static_cast<std::size_t>(p.first);
                if (!near) {
                    for (int j = 0; j < m; ++j) {
                        const std::size_t c = first + static_cast<std::size_t>(j);
                        row[c] += sign * mesh.nodes[c].weight * far_kernel(fx, far[c]);
                    }
                    continue;
                }
                // A point found far needs no singular points: its logarithm is taken at the nodes.
                log_weights(x, sd, rule, &mesh.nodes[first], direct);
                log_weights(xs, si, rule, &mesh.nodes[first], image);
                for (int j = 0; j < m; ++j) {
                    const std::size_t c = first + static_cast<std::size_t>(j);
                    const Node& nd = mesh.nodes[c];
                    const double a = kHalfPi * (x.x - nd.p.x);
                    const double bm = kHalfPi * (x.y - nd.p.y);
                    const double bp = kHalfPi * (lower ? x.y + nd.p.y : x.y + nd.p.y - 2.0);
                    const double smooth = fast_log(ratio(a, bp) / ratio(a, bm));
                    const double v = nd.weight * smooth + 2.0 * nd.jac * (image[j] - direct[j]);
                    row[c] += sign * v;
                }
            }
        }
    }
}

}  // namespace ferravane::field
