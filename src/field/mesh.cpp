#include "field/mesh.hpp"

#include <algorithm>
#include <cmath>


namespace ferravane::field {

namespace {

// The corner panel spans this fraction of the distance to the nearest other
// feature: the corner's own expansion of the charge converges inside it.
constexpr double kCornerFraction = 0.5;
// Longest panel, in plane spacings: the charge varies on the scale of B away
// from corners.
constexpr double kMaxPanel = 1.0;
// Each panel this many times the one before it, away from a corner: the
// charge there is smooth on the scale of its distance from the corner.
constexpr double kGrowth = 8.0;
// A remainder shorter than this fraction of the panel before it joins that panel.
constexpr double kMergeFraction = 0.25;

struct Scales {
    const Shape& shape;
    // Distance from a point of a strip's outline to the nearest other feature:
    // the planes, the opposite face, the far edge and the other strip.
    double at(Point p) const {
        double r = std::min(p.y, 1.0 - p.y);
        r = std::min(r, shape.w);
        if (shape.t > 0.0) r = std::min(r, shape.t);
        if (shape.pair) r = std::min(r, std::fabs(p.x) + shape.s / 2.0);
        return r;
    }
};

void add(Layout& l, const Scales& sc, Point a, Point b, End ea, End eb, int conductor) {
    Segment s;
    s.a = a;
    s.b = b;
    s.end_a = ea;
    s.end_b = eb;
    s.scale_a = ea == End::smooth ? 0.0 : sc.at(a);
    s.scale_b = eb == End::smooth ? 0.0 : sc.at(b);
    s.conductor = conductor;
    l.segments.push_back(s);
}

// The outline of the strip [xl, xr] x [y0, y0 + t]; cut_x keeps x >= 0 only
// (the strip straddles the mirror line), cut_y keeps y >= 1/2 only.
void add_strip(Layout& l, const Scales& sc, double xl, double xr, bool cut_x, bool cut_y, int conductor) {
    const Shape& sh = sc.shape;
    const double y0 = sh.h;
    const double y1 = sh.h + sh.t;
    const double x0 = cut_x ? 0.0 : xl;
    const End side_x = cut_x ? End::smooth : End::corner;
    if (sh.t == 0.0) {
        add(l, sc, {x0, y0}, {xr, y0}, cut_x ? End::smooth : End::edge, End::edge, conductor);
        return;
    }
    const double ylow = cut_y ? 0.5 : y0;
    const End side_y = cut_y ? End::smooth : End::corner;
    add(l, sc, {x0, y1}, {xr, y1}, side_x, End::corner, conductor);   // top
    add(l, sc, {xr, y1}, {xr, ylow}, End::corner, side_y, conductor); // right side
    if (!cut_y) {
        add(l, sc, {xr, y0}, {x0, y0}, End::corner, side_x, conductor);  // bottom
    }
    if (!cut_x) {
        add(l, sc, {xl, ylow}, {xl, y1}, side_y, End::corner, conductor);  // left side
    }
}

// Panels from a singular end at 0 up to `limit`: the corner panel, then
// panels doubling in length up to the longest allowed, then equal panels.
void grade(double limit, double h, double lmax, std::vector<std::pair<double, double>>& out) {
    if (h >= limit) {
        out.emplace_back(0.0, limit);
        return;
    }
    out.emplace_back(0.0, h);
    double pos = h;
    double size = std::min(kGrowth * h, lmax);
    while (pos + size < limit) {
        out.emplace_back(pos, pos + size);
        pos += size;
        size = std::min(kGrowth * size, lmax);
    }
    const double rem = limit - pos;
    const double last = out.back().second - out.back().first;
    if (rem < kMergeFraction * last) {
        out.back().second = limit;
        return;
    }
    const int n = static_cast<int>(std::ceil(rem / size));
    for (int i = 0; i < n; ++i) {
        const double a = pos + rem * static_cast<double>(i) / static_cast<double>(n);
        const double b = i + 1 == n ? limit : pos + rem * static_cast<double>(i + 1) / static_cast<double>(n);
        out.emplace_back(a, b);
    }
}

// Faces are horizontal or vertical: the square root of a square is the
// length exactly (the C library's hypot may differ between platforms).
double length(const Segment& s) {
    const double dx = s.b.x - s.a.x;
    const double dy = s.b.y - s.a.y;
    return std::sqrt(dx * dx + dy * dy);
}

int order(End e) { return e == End::corner ? 3 : (e == End::edge ? 2 : 1); }

}  // namespace

Layout layout(const Shape& shape, bool use_symmetry, double pair_sign) {
    Layout l;
    const Scales sc{shape};
    const bool cut_y = use_symmetry && shape.centred && shape.t > 0.0;
    l.images.push_back({false, false, 1.0});
    if (!shape.pair) {
        add_strip(l, sc, -shape.w / 2.0, shape.w / 2.0, use_symmetry, cut_y, 0);
        if (use_symmetry) {
            l.images.push_back({true, false, 1.0});
            l.multiplicity = 2.0;
        }
    } else if (use_symmetry) {
        add_strip(l, sc, shape.s / 2.0, shape.s / 2.0 + shape.w, false, cut_y, 0);
        l.images.push_back({true, false, pair_sign});
    } else {
        add_strip(l, sc, shape.s / 2.0, shape.s / 2.0 + shape.w, false, false, 0);
        add_strip(l, sc, -shape.s / 2.0 - shape.w, -shape.s / 2.0, false, false, 1);
        l.conductors = 2;
    }
    if (cut_y) {
        const std::size_t n = l.images.size();
        for (std::size_t i = 0; i < n; ++i) {
            Image im = l.images[i];
            im.mirror_y = true;
            l.images.push_back(im);
        }
        l.multiplicity *= 2.0;
    }
    return l;
}

MeshPlan plan_mesh(const Layout& layout, double refinement) {
    const double lmax = kMaxPanel / refinement;
    MeshPlan plan;
    for (const Segment& s : layout.segments) {
        const double len = length(s);
        const bool sa = s.end_a != End::smooth;
        const bool sb = s.end_b != End::smooth;
        std::vector<PanelPlan> panels;
        if (!sa && !sb) {
            const int n = static_cast<int>(std::ceil(len / lmax));
            for (int i = 0; i < n; ++i) {
                panels.push_back({static_cast<double>(i) / n, static_cast<double>(i + 1) / n, 1, false});
            }
        } else {
            std::vector<std::pair<double, double>> from_a, from_b;
            const double limit_a = sb ? len / 2.0 : len;
            const double limit_b = sa ? len / 2.0 : len;
            if (sa) grade(limit_a, kCornerFraction * s.scale_a / refinement, lmax, from_a);
            if (sb) grade(limit_b, kCornerFraction * s.scale_b / refinement, lmax, from_b);
            for (std::size_t i = 0; i < from_a.size(); ++i) {
                panels.push_back({from_a[i].first / len, from_a[i].second / len,
                                  i == 0 ? order(s.end_a) : 1, false});
            }
            for (std::size_t k = from_b.size(); k-- > 0;) {
                panels.push_back({(len - from_b[k].second) / len, (len - from_b[k].first) / len,
                                  k == 0 ? order(s.end_b) : 1, true});
            }
        }
        plan.push_back(std::move(panels));
    }
    return plan;
}

Mesh build_mesh(const Layout& layout, const MeshPlan& plan, const Rule& rule) {
    Mesh m;
    m.per_panel = rule.n;
    for (std::size_t si = 0; si < layout.segments.size(); ++si) {
        const Segment& s = layout.segments[si];
        const double len = length(s);
        const Point d{(s.b.x - s.a.x) / len, (s.b.y - s.a.y) / len};
        for (const PanelPlan& pp : plan[si]) {
            Panel p;
            const double f0 = pp.from * len;
            const double f1 = pp.to * len;
            p.len = f1 - f0;
            p.q = pp.q;
            p.conductor = s.conductor;
            if (pp.singular_at_to) {
                p.origin = {s.a.x + d.x * f1, s.a.y + d.y * f1};
                p.dir = {-d.x, -d.y};
            } else {
                p.origin = {s.a.x + d.x * f0, s.a.y + d.y * f0};
                p.dir = d;
            }
            p.mid = {p.origin.x + p.dir.x * p.len / 2.0, p.origin.y + p.dir.y * p.len / 2.0};
            p.first = static_cast<int>(m.nodes.size());
            for (int j = 0; j < rule.n; ++j) {
                const double t = rule.t[static_cast<std::size_t>(j)];
                const double tau = (t + 1.0) / 2.0;
                double along = tau;
                double jac = 0.5;
                if (p.q == 2) {
                    along = tau * tau;
                    jac = tau;
                } else if (p.q == 3) {
                    along = tau * tau * tau;
                    jac = 1.5 * tau * tau;
                }
                Node nd;
                nd.p = {p.origin.x + p.dir.x * p.len * along, p.origin.y + p.dir.y * p.len * along};
                nd.jac = p.len * jac;
                nd.weight = rule.w[static_cast<std::size_t>(j)] * nd.jac;
                m.nodes.push_back(nd);
            }
            m.panels.push_back(p);
        }
    }
    return m;
}

}  // namespace ferravane::field
