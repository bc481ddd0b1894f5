// The discretised surfaces: the part of the strips' surfaces the solve
// carries unknowns on (a quarter, a half or all of it, by the symmetries
// used), split into panels graded towards corners and edges. Lengths are in
// units of the plane spacing: the lower plane is y = 0, the upper y = 1, and
// the cross-section is symmetric about x = 0.
#pragma once

#include <cstdint>
#include <vector>

#include "field/gauss.hpp"

namespace ferravane::field {

struct Point {
    double x = 0.0;
    double y = 0.0;
};

// The geometry relative to B.
struct Shape {
    double w = 0.0;
    double t = 0.0;
    double h = 0.0;
    double s = 0.0;      // gap; 0 for a single strip
    bool pair = false;
    bool centred = false;  // h given as (1 - t)/2 by construction
};

// How a surface ends: where it meets the symmetry line (smooth), at a
// right-angled corner (charge ~ r^-1/3), or at the edge of a strip of zero
// thickness (charge ~ r^-1/2).
enum class End : std::uint8_t { smooth, corner, edge };

struct Segment {
    Point a, b;
    End end_a = End::smooth, end_b = End::smooth;
    double scale_a = 0.0, scale_b = 0.0;  // distance to the nearest other feature
    int conductor = 0;
};

// A reflection of the whole cross-section, with the sign the mode gives the
// charge it maps to.
struct Image {
    bool mirror_x = false;  // x -> -x
    bool mirror_y = false;  // y -> 1 - y
    double sign = 1.0;
};

struct Layout {
    std::vector<Segment> segments;
    std::vector<Image> images;   // the identity first
    int conductors = 1;          // distinct potentials (right-hand sides)
    double multiplicity = 1.0;   // copies of the discretised part in one strip
};

// The discretised part for a single strip, or for one mode of a pair
// (odd: sign -1, even: +1), or the whole cross-section without symmetry.
Layout layout(const Shape& shape, bool use_symmetry, double pair_sign);

// Panel boundaries of one segment as fractions of its length, with the
// singular end of each panel; fixed for a nominal geometry so that nearby
// geometries (the recession derivative) are meshed alike.
struct PanelPlan {
    double from = 0.0, to = 0.0;  // fractions of the segment
    int q = 1;                    // 1: plain; 2 or 3: r = len tau^q from a singular end
    bool singular_at_to = false;  // the singular end is `to` rather than `from`
};
using MeshPlan = std::vector<std::vector<PanelPlan>>;  // per segment

MeshPlan plan_mesh(const Layout& layout, double refinement);

// A panel: y(t) = origin + dir len (t + 1)/2 for q = 1, and
// origin + dir len ((t + 1)/2)^q with origin at the singular end otherwise.
struct Panel {
    Point origin, dir, mid;
    double len = 0.0;
    int q = 1;
    int conductor = 0;
    int first = 0;  // index of its first node
};

struct Node {
    Point p;
    double jac = 0.0;     // ds/dt
    double weight = 0.0;  // Gauss weight times ds/dt
};

struct Mesh {
    int per_panel = 0;  // nodes on each panel
    std::vector<Panel> panels;
    std::vector<Node> nodes;
};

Mesh build_mesh(const Layout& layout, const MeshPlan& plan, const Rule& rule);

}  // namespace ferravane::field
