// Synthesis by searching the solver itself. Searches run in logarithms
// (ln W, ln S against ln Z), where the impedances are close to linear, and
// start from the exact zero-thickness maps of the centred lines, so a
// centred strip or pair of zero thickness needs a step or two and any other
// line a few more.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "field/constants.hpp"
#include "field/field.hpp"
#include "math/math.hpp"

namespace ferravane::field {

namespace {

constexpr int kMaxSteps = 60;
constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();
// Searches stop at this relative error of each impedance, well inside the
// promised tolerance and near the solver's own accuracy.
constexpr double kSearchTolerance = 1e-9;
constexpr double kMaxLogStep = 2.0;   // at most a factor e^2 per step
constexpr double kJacobianStep = 1e-4;

double atanh(double x) { return 0.5 * math::log((1.0 + x) / (1.0 - x)); }

// The modulus k (and k') whose ratio K(k')/K(k) is r, through the nome
// q = exp(-pi r) and theta functions: k = (theta2/theta3)^2, k' = (theta4/theta3)^2.
// For r < 1 the complementary modulus has the smaller nome.
struct Modulus {
    double k, kp;
};
Modulus modulus_for(double r) {
    const bool swap = r < 1.0;
    const double rr = swap ? 1.0 / r : r;
    const double q = math::exp(-kPi * rr);  // at most e^-pi: five terms reach 1e-30
    double t2 = 0.0, t3 = 1.0, t4 = 1.0;
    double qn2 = 1.0;   // q^(n^2)
    double qnn = 1.0;   // q^(n(n+1))
    for (int n = 1; n <= 5; ++n) {
        t2 += qnn;
        qnn *= math::pow(q, 2.0 * n + 0.0);
        qn2 *= math::pow(q, 2.0 * n - 1.0);
        t3 += 2.0 * qn2;
        t4 += (n % 2 ? -2.0 : 2.0) * qn2;
    }
    t2 *= 2.0 * math::exp(-kPi * rr / 4.0);
    const Modulus m{(t2 / t3) * (t2 / t3), (t4 / t3) * (t4 / t3)};
    return swap ? Modulus{m.kp, m.k} : m;
}

// K(k')/K(k) of a line of impedance z: z = eta0 / (4 sqrt(er)) K(k')/K(k).
double ratio_of(double z, double er) { return 4.0 * std::sqrt(er) * z / kEta0; }

// Centred single strip of zero thickness: k = tanh(pi W / 2B).
double width_guess(double b, double er, double zo) {
    const Modulus m = modulus_for(ratio_of(zo, er));
    return 2.0 * b / kPi * math::log((1.0 + m.k) / m.kp);  // atanh k, without 1 - k
}

// Centred pair of zero thickness: k_e = tanh a tanh c, k_o = tanh a / tanh c,
// a = pi W / 2B, c = pi (W + S) / 2B.
void pair_guess(double b, double er, double zo, double ze, double& w, double& s) {
    const Modulus e = modulus_for(ratio_of(ze, er));
    const Modulus o = modulus_for(ratio_of(zo, er));
    const double a = atanh(std::sqrt(e.k * o.k));
    const double c = atanh(std::sqrt(e.k / o.k));
    w = 2.0 * b * a / kPi;
    s = 2.0 * b * (c - a) / kPi;
}

bool positive(double z) { return std::isfinite(z) && z > 0.0; }

SynthesisStatus from(Status s) {
    return s == Status::ok ? SynthesisStatus::ok : SynthesisStatus::invalid_input;
}

// One unknown u = ln x, f(u) = ln Z(x) - ln Z_target, monotone in u with
// the sign `rising` says. Safeguarded secant: bisection once the root is
// bracketed and the secant leaves the bracket.
enum class Bound : std::uint8_t { none, low, high, failed };

template <class F>
Bound find_root(F&& f, double u, double lo, double hi, bool rising, double& out, int& evals) {
    u = std::clamp(u, lo, hi);
    double fu = f(u);
    ++evals;
    double up = u, fp = 0.0;
    bool have_prev = false;
    double below = lo, above = hi;  // u where the impedance is below / above the target
    bool has_below = false, has_above = false;
    for (int step = 0; step < kMaxSteps; ++step) {
        if (!std::isfinite(fu)) return Bound::failed;
        if (std::fabs(fu) <= kSearchTolerance) {
            out = u;
            return Bound::none;
        }
        if (fu < 0.0) {
            below = u;
            has_below = true;
        } else {
            above = u;
            has_above = true;
        }
        // The target lies beyond a bound the search already stands on.
        if (u == lo && (fu > 0.0) == rising) return Bound::low;
        if (u == hi && (fu < 0.0) == rising) return Bound::high;
        double slope = rising ? 0.7 : -0.7;  // about d ln Z / d ln W of a stripline
        if (have_prev && up != u) {
            const double sl = (fu - fp) / (u - up);
            if ((sl > 0.0) == rising && std::isfinite(sl) && sl != 0.0) slope = sl;
        }
        double next = u - fu / slope;
        if (has_below && has_above) {
            const double a = std::min(below, above), b = std::max(below, above);
            if (!(next > a && next < b)) next = (a + b) / 2.0;
            if (b - a < 1e-14) {
                out = u;
                return std::fabs(fu) <= kSynthesisTolerance ? Bound::none : Bound::failed;
            }
        } else {
            next = std::clamp(next, u - kMaxLogStep, u + kMaxLogStep);
        }
        next = std::clamp(next, lo, hi);
        up = u;
        fp = fu;
        have_prev = true;
        u = next;
        fu = f(u);
        ++evals;
    }
    return Bound::failed;
}

Options search_options(const Options& o) {
    Options s = o;
    s.loss_gradient = false;
    return s;
}

Synthesis finish(Synthesis r, const Options& options) {
    r.solution = solve(r.cross_section, options);
    ++r.solves;
    r.status = r.solution.status == Status::ok ? SynthesisStatus::ok : SynthesisStatus::no_convergence;
    return r;
}

SynthesisStatus bound_status(Bound b, bool width) {
    switch (b) {
        case Bound::low:
            return width ? SynthesisStatus::width_below_minimum : SynthesisStatus::gap_below_minimum;
        case Bound::high:
            return width ? SynthesisStatus::width_above_maximum : SynthesisStatus::gap_above_maximum;
        case Bound::failed:
            return SynthesisStatus::no_convergence;
        case Bound::none:
            break;
    }
    return SynthesisStatus::ok;
}

// The width search shared by the single strip and the pair at a given gap.
Synthesis width_search(const CrossSection& cs, double target, bool pair, const Options& options) {
    Synthesis r;
    r.cross_section = cs;
    CrossSection probe = cs;
    probe.w = cs.b;
    r.status = from(check(probe));
    if (r.status != SynthesisStatus::ok) return r;
    if (!positive(target)) {
        r.status = SynthesisStatus::invalid_target;
        return r;
    }
    const Options so = search_options(options);
    const double zo_target = pair ? target / 2.0 : target;
    auto f = [&](double u) {
        probe.w = cs.b * math::exp(u);
        const Solution s = solve(probe, so);
        if (s.status != Status::ok) return kNotANumber;
        return math::log(pair ? s.z_odd : s.zo) - math::log(zo_target);
    };
    double u = 0.0;
    const Bound b = find_root(f, math::log(width_guess(1.0, cs.er, zo_target)), math::log(kMinRatio),
                              math::log(kMaxWidthRatio), false, u, r.solves);
    r.status = bound_status(b, true);
    if (r.status != SynthesisStatus::ok) return r;
    r.cross_section.w = cs.b * math::exp(u);
    return finish(r, options);
}

}  // namespace

Synthesis synthesize_width(const CrossSection& cs, double zo, const Options& options) {
    CrossSection c = cs;
    c.pairing = Pairing::single;
    return width_search(c, zo, false, options);
}

Synthesis synthesize_pair_width(const CrossSection& cs, double z_diff, const Options& options) {
    CrossSection c = cs;
    c.pairing = Pairing::edge_coupled;
    return width_search(c, z_diff, true, options);
}

Synthesis synthesize_pair_gap(const CrossSection& cs, double z_diff, const Options& options) {
    Synthesis r;
    r.cross_section = cs;
    r.cross_section.pairing = Pairing::edge_coupled;
    CrossSection probe = r.cross_section;
    probe.s = cs.b;
    r.status = from(check(probe));
    if (r.status != SynthesisStatus::ok) return r;
    if (!positive(z_diff)) {
        r.status = SynthesisStatus::invalid_target;
        return r;
    }
    const Options so = search_options(options);
    const double zo_target = z_diff / 2.0;
    auto f = [&](double u) {
        probe.s = cs.b * math::exp(u);
        const Solution s = solve(probe, so);
        if (s.status != Status::ok) return kNotANumber;
        return math::log(s.z_odd) - math::log(zo_target);
    };
    // Start from a gap of half the width: the odd impedance is close to
    // linear in ln S, and the bracket takes over once found.
    double u = 0.0;
    const Bound b = find_root(f, math::log(0.5 * cs.w / cs.b), math::log(kMinRatio), math::log(kMaxGapRatio),
                              true, u, r.solves);
    r.status = bound_status(b, false);
    if (r.status != SynthesisStatus::ok) return r;
    r.cross_section.s = cs.b * math::exp(u);
    return finish(r, options);
}

Synthesis synthesize_pair(const CrossSection& cs, double z_odd, double z_even, const Options& options) {
    Synthesis r;
    r.cross_section = cs;
    r.cross_section.pairing = Pairing::edge_coupled;
    CrossSection probe = r.cross_section;
    probe.w = cs.b;
    probe.s = cs.b;
    r.status = from(check(probe));
    if (r.status != SynthesisStatus::ok) return r;
    if (!positive(z_odd) || !positive(z_even) || !(z_even > z_odd)) {
        r.status = SynthesisStatus::invalid_target;
        return r;
    }
    const Options so = search_options(options);
    const double lo[2] = {math::log(kMinRatio), math::log(kMinRatio)};
    const double hi[2] = {math::log(kMaxWidthRatio), math::log(kMaxGapRatio)};
    const double target[2] = {math::log(z_odd), math::log(z_even)};
    auto eval = [&](const double x[2], double fx[2]) {
        probe.w = cs.b * math::exp(x[0]);
        probe.s = cs.b * math::exp(x[1]);
        const Solution s = solve(probe, so);
        ++r.solves;
        if (s.status != Status::ok) return false;
        fx[0] = math::log(s.z_odd) - target[0];
        fx[1] = math::log(s.z_even) - target[1];
        return std::isfinite(fx[0]) && std::isfinite(fx[1]);
    };
    // 1. The zero-thickness centred pair's exact widths as the start.
    double w0 = 0.0, s0 = 0.0;
    pair_guess(1.0, cs.er, z_odd, z_even, w0, s0);
    double x[2] = {std::isfinite(w0) && w0 > 0.0 ? math::log(w0) : 0.0,
                   std::isfinite(s0) && s0 > 0.0 ? math::log(s0) : 0.0};
    for (int i = 0; i < 2; ++i) x[i] = std::clamp(x[i], lo[i], hi[i]);
    double fx[2];
    if (!eval(x, fx)) {
        r.status = SynthesisStatus::no_convergence;
        return r;
    }
    // 2. Newton's method on (ln W, ln S) with a forward-difference Jacobian,
    //    kept up to date between its recomputations by Broyden's rank-one update.
    double j[2][2] = {{0.0, 0.0}, {0.0, 0.0}};
    bool fresh = false;
    int stuck[2][2] = {{0, 0}, {0, 0}};  // steps spent on each bound: [variable][low, high]
    for (int step = 0; step < kMaxSteps; ++step) {
        if (std::max(std::fabs(fx[0]), std::fabs(fx[1])) <= kSearchTolerance) {
            r.cross_section.w = probe.w = cs.b * math::exp(x[0]);
            r.cross_section.s = probe.s = cs.b * math::exp(x[1]);
            return finish(r, options);
        }
        if (!fresh) {
            for (int k = 0; k < 2; ++k) {
                double xs[2] = {x[0], x[1]};
                xs[k] += (xs[k] + kJacobianStep <= hi[k]) ? kJacobianStep : -kJacobianStep;
                double fs[2];
                if (!eval(xs, fs)) {
                    r.status = SynthesisStatus::no_convergence;
                    return r;
                }
                for (int i = 0; i < 2; ++i) j[i][k] = (fs[i] - fx[i]) / (xs[k] - x[k]);
            }
            fresh = true;
        }
        const double det = j[0][0] * j[1][1] - j[0][1] * j[1][0];
        if (!std::isfinite(det) || det == 0.0) {
            r.status = SynthesisStatus::no_convergence;
            return r;
        }
        double dx[2] = {-(j[1][1] * fx[0] - j[0][1] * fx[1]) / det, -(-j[1][0] * fx[0] + j[0][0] * fx[1]) / det};
        const double big = std::max(std::fabs(dx[0]), std::fabs(dx[1]));
        if (big > kMaxLogStep) {
            dx[0] *= kMaxLogStep / big;
            dx[1] *= kMaxLogStep / big;
        }
        double xn[2];
        for (int i = 0; i < 2; ++i) {
            xn[i] = std::clamp(x[i] + dx[i], lo[i], hi[i]);
            const bool at_low = xn[i] == lo[i] && x[i] + dx[i] < lo[i];
            const bool at_high = xn[i] == hi[i] && x[i] + dx[i] > hi[i];
            stuck[i][0] = at_low ? stuck[i][0] + 1 : 0;
            stuck[i][1] = at_high ? stuck[i][1] + 1 : 0;
        }
        // Pushed against the same bound three times running: the target lies beyond it.
        if (stuck[0][0] >= 3) return r.status = SynthesisStatus::width_below_minimum, r;
        if (stuck[0][1] >= 3) return r.status = SynthesisStatus::width_above_maximum, r;
        if (stuck[1][0] >= 3) return r.status = SynthesisStatus::gap_below_minimum, r;
        if (stuck[1][1] >= 3) return r.status = SynthesisStatus::gap_above_maximum, r;
        double fn[2];
        if (!eval(xn, fn)) {
            r.status = SynthesisStatus::no_convergence;
            return r;
        }
        const double before = std::max(std::fabs(fx[0]), std::fabs(fx[1]));
        const double after = std::max(std::fabs(fn[0]), std::fabs(fn[1]));
        // Broyden: J += (df - J dx) dx^T / (dx^T dx).
        const double s[2] = {xn[0] - x[0], xn[1] - x[1]};
        const double ss = s[0] * s[0] + s[1] * s[1];
        if (ss > 0.0) {
            for (int i = 0; i < 2; ++i) {
                const double resid = (fn[i] - fx[i]) - (j[i][0] * s[0] + j[i][1] * s[1]);
                j[i][0] += resid * s[0] / ss;
                j[i][1] += resid * s[1] / ss;
            }
        }
        // A step that did not halve the error earns a fresh Jacobian.
        if (after > 0.5 * before) fresh = false;
        x[0] = xn[0];
        x[1] = xn[1];
        fx[0] = fn[0];
        fx[1] = fn[1];
    }
    r.status = SynthesisStatus::no_convergence;
    return r;
}

}  // namespace ferravane::field
