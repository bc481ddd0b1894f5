// From a cross-section to impedances: normalise to B = 1, lay out the
// surfaces the symmetries leave, mesh, assemble, factor, and sum the charge.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "field/assemble.hpp"
#include "field/charge.hpp"
#include "field/constants.hpp"
#include "field/field.hpp"
#include "field/lu.hpp"
#include "field/mesh.hpp"

namespace ferravane::field {

namespace {

constexpr double kFourPi = 4.0 * kPi;
// Recession step of the derivative, relative to the smallest feature: small
// enough that the central difference's O(step^2) error is far below 1e-5,
// large enough that rounding (1e-13 of Z over the step) stays below it too.
constexpr double kRecessionStep = 1e-3;
// Nodes per panel of the derivative's solves: on one mesh plan the
// discretisation error is a smooth function of the geometry, so the
// difference quotient keeps the relative accuracy of the coarser solves
// (about 1e-6), far beyond the 1e-2 a loss needs.
constexpr int kGradientNodes = 6;

bool finite_positive(double v) { return std::isfinite(v) && v > 0.0; }

// Charges per strip for unit potential (dimensionless: C / (eps0 er)).
struct Charges {
    bool ok = false;
    double single = 0.0;
    double even = 0.0, odd = 0.0;  // per strip, both at +1 / at +1 and -1
    double c[2][2] = {{0.0, 0.0}, {0.0, 0.0}};
    int unknowns = 0;
};

double summed_charge(const Mesh& mesh, const std::vector<double>& sigma, int conductor) {
    double q = 0.0;
    for (const Panel& p : mesh.panels) {
        if (p.conductor != conductor) continue;
        const auto f = static_cast<std::size_t>(p.first);
        for (std::size_t j = f; j < f + static_cast<std::size_t>(mesh.per_panel); ++j) {
            q += mesh.nodes[j].weight * sigma[j];
        }
    }
    return q;
}

// Solves A sigma = 4 pi for each conductor's unit potential in turn.
bool solve_system(std::vector<double>& a, const Mesh& mesh, int conductors, double out[2][2]) {
    const int n = static_cast<int>(mesh.nodes.size());
    std::vector<int> piv;
    if (!lu_factor(a, n, piv)) return false;
    std::vector<int> owner(static_cast<std::size_t>(n), 0);
    for (const Panel& p : mesh.panels) {
        const auto f = static_cast<std::size_t>(p.first);
        for (std::size_t j = f; j < f + static_cast<std::size_t>(mesh.per_panel); ++j) owner[j] = p.conductor;
    }
    std::vector<double> sigma(static_cast<std::size_t>(n));
    for (int c = 0; c < conductors; ++c) {
        for (std::size_t j = 0; j < sigma.size(); ++j) sigma[j] = owner[j] == c ? kFourPi : 0.0;
        lu_solve(a, n, piv, sigma.data());
        for (int k = 0; k < conductors; ++k) out[c][k] = summed_charge(mesh, sigma, k);
    }
    return true;
}

Charges charges(const Shape& shape, const Options& o, const Rule& rule, MeshPlan& plan, bool make_plan) {
    Charges r;
    Layout lay = layout(shape, o.use_symmetry, 1.0);
    if (make_plan) plan = plan_mesh(lay, o.refinement);
    const Mesh mesh = build_mesh(lay, plan, rule);
    r.unknowns = static_cast<int>(mesh.nodes.size());
    std::vector<double> a;
    double q[2][2] = {{0.0, 0.0}, {0.0, 0.0}};
    if (!shape.pair || !o.use_symmetry) {
        assemble(mesh, lay.images, rule, a, nullptr);
        if (!solve_system(a, mesh, lay.conductors, q)) return r;
        if (!shape.pair) {
            r.single = lay.multiplicity * q[0][0];
            r.c[0][0] = r.single;
        } else {
            for (int i = 0; i < 2; ++i)
                for (int k = 0; k < 2; ++k) r.c[i][k] = q[i][k];
            const double self = (q[0][0] + q[1][1]) / 2.0;
            const double mutual = (q[0][1] + q[1][0]) / 2.0;
            r.even = self + mutual;
            r.odd = self - mutual;
        }
        r.ok = true;
        return r;
    }
    // A pair by its halves: the even and odd matrices share every kernel value.
    std::vector<double> mirrored;
    assemble(mesh, lay.images, rule, a, &mirrored);
    std::vector<double> odd(a.size());
    for (std::size_t k = 0; k < a.size(); ++k) {
        odd[k] = a[k] - mirrored[k];
        a[k] += mirrored[k];
    }
    if (!solve_system(a, mesh, 1, q)) return r;
    r.even = lay.multiplicity * q[0][0];
    if (!solve_system(odd, mesh, 1, q)) return r;
    r.odd = lay.multiplicity * q[0][0];
    r.c[0][0] = r.c[1][1] = (r.even + r.odd) / 2.0;
    r.c[0][1] = r.c[1][0] = (r.even - r.odd) / 2.0;
    r.ok = true;
    return r;
}

Shape normalised(const CrossSection& cs) {
    Shape s;
    s.w = cs.w / cs.b;
    s.t = cs.t / cs.b;
    s.centred = !cs.h.has_value();
    s.h = s.centred ? (1.0 - s.t) / 2.0 : *cs.h / cs.b;
    s.pair = cs.pairing == Pairing::edge_coupled;
    s.s = s.pair ? cs.s / cs.b : 0.0;
    return s;
}

// Every conducting surface receded by d (in units of B), renormalised.
Shape receded(const Shape& s, double d) {
    const double b = 1.0 + 2.0 * d;
    Shape r = s;
    r.w = (s.w - 2.0 * d) / b;
    r.t = (s.t - 2.0 * d) / b;
    r.h = s.centred ? (1.0 - r.t) / 2.0 : (s.h + 2.0 * d) / b;
    r.s = s.pair ? (s.s + 2.0 * d) / b : 0.0;
    return r;
}

double impedance(double charge, double er) { return kEta0 / (std::sqrt(er) * charge); }

}  // namespace

SurfaceCharge surface_charge(const CrossSection& cs, const Options& options, double pair_sign) {
    SurfaceCharge r;
    if (check(cs) != Status::ok || !(options.refinement >= kMinRefinement && options.refinement <= kMaxRefinement)) {
        return r;
    }
    const Shape shape = normalised(cs);
    const Layout lay = layout(shape, true, pair_sign);
    const Rule rule = gauss_rule(options.nodes_per_panel);
    const Mesh mesh = build_mesh(lay, plan_mesh(lay, options.refinement), rule);
    std::vector<double> a;
    assemble(mesh, lay.images, rule, a, nullptr);
    std::vector<int> piv;
    const int n = static_cast<int>(mesh.nodes.size());
    if (!lu_factor(a, n, piv)) return r;
    std::vector<double> sigma(mesh.nodes.size(), kFourPi);
    lu_solve(a, n, piv, sigma.data());
    for (std::size_t j = 0; j < sigma.size(); ++j) {
        r.nodes.push_back({mesh.nodes[j].p, mesh.nodes[j].weight, sigma[j]});
    }
    r.images = lay.images;
    r.per_strip = lay.multiplicity * summed_charge(mesh, sigma, 0);
    r.ok = true;
    return r;
}

Status check(const CrossSection& cs) {
    if (!finite_positive(cs.b) || !std::isfinite(cs.er) || cs.er < 1.0 || !finite_positive(cs.w) ||
        !std::isfinite(cs.t) || cs.t < 0.0 || (cs.h && !std::isfinite(*cs.h))) {
        return Status::invalid_input;
    }
    const bool pair = cs.pairing == Pairing::edge_coupled;
    if (pair && !finite_positive(cs.s)) return Status::invalid_input;
    const Shape s = normalised(cs);
    if (s.h < 0.0 || s.t >= 1.0 || s.h + s.t > 1.0) return Status::outside_planes;
    if (s.w < kMinRatio || (s.t > 0.0 && s.t < kMinRatio) || s.h < kMinRatio ||
        1.0 - s.h - s.t < kMinRatio || (pair && s.s < kMinRatio)) {
        return Status::below_minimum;
    }
    if (s.w > kMaxWidthRatio || (pair && s.s > kMaxGapRatio)) return Status::above_maximum;
    return Status::ok;
}

Solution solve(const CrossSection& cs, const Options& options) {
    Solution sol;
    sol.status = check(cs);
    if (sol.status != Status::ok) return sol;
    if (!(options.refinement >= kMinRefinement && options.refinement <= kMaxRefinement)) {
        sol.status = Status::invalid_input;
        return sol;
    }
    const Shape shape = normalised(cs);
    const Rule rule = gauss_rule(options.nodes_per_panel);
    MeshPlan plan;
    const Charges q = charges(shape, options, rule, plan, true);
    if (!q.ok) {
        sol.status = Status::invalid_input;
        return sol;
    }
    sol.pair = shape.pair;
    sol.unknowns = q.unknowns;
    const double scale = kEps0 * cs.er;
    for (int i = 0; i < 2; ++i)
        for (int k = 0; k < 2; ++k) sol.c[i][k] = scale * q.c[i][k];
    if (!shape.pair) {
        sol.single = {impedance(q.single, cs.er), scale * q.single, {}};
        sol.zo = sol.single.z;
    } else {
        sol.odd = {impedance(q.odd, cs.er), scale * q.odd, {}};
        sol.even = {impedance(q.even, cs.er), scale * q.even, {}};
        sol.z_odd = sol.odd.z;
        sol.z_even = sol.even.z;
        sol.z_diff = 2.0 * sol.z_odd;
        sol.z_common = sol.z_even / 2.0;
        sol.coupling = (sol.z_even - sol.z_odd) / (sol.z_even + sol.z_odd);
    }
    if (!options.loss_gradient || shape.t == 0.0) return sol;

    // (1/Z) dZ/dn = -(1/C) dC/dn by a central difference on the same mesh plan.
    double feature = std::min({shape.w, shape.t, shape.h, 1.0 - shape.h - shape.t});
    if (shape.pair) feature = std::min(feature, shape.s);
    const double d = kRecessionStep * feature;
    const Rule coarse = gauss_rule(std::min(kGradientNodes, options.nodes_per_panel));
    const Charges up = charges(receded(shape, d), options, coarse, plan, false);
    const Charges down = charges(receded(shape, -d), options, coarse, plan, false);
    if (!up.ok || !down.ok) return sol;
    const double per_metre = 1.0 / (2.0 * d * cs.b);
    if (!shape.pair) {
        sol.single.recession_gradient = -(up.single - down.single) * per_metre / q.single;
    } else {
        sol.odd.recession_gradient = -(up.odd - down.odd) * per_metre / q.odd;
        sol.even.recession_gradient = -(up.even - down.even) * per_metre / q.even;
    }
    return sol;
}

}  // namespace ferravane::field
