// The collocation matrix of the surface-charge equation: row i is the
// potential (times 4 pi eps) at node i of unit charge density on each node's
// share of the surface, summed over the images of the symmetries used.
#pragma once

#include <vector>

#include "field/mesh.hpp"

namespace ferravane::field {

// Images without an x mirror go to `same` with their sign; with an x mirror
// they go to `mirrored` (unsigned) when it is given, so that a pair's even
// and odd matrices are same + mirrored and same - mirrored.
void assemble(const Mesh& mesh, const std::vector<Image>& images, const Rule& rule,
              std::vector<double>& same, std::vector<double>* mirrored);

// 4 pi eps times the potential at x of a unit line charge at y between the
// planes y = 0 and y = 1 (the Green's function), for checks.
double green(Point x, Point y);

}  // namespace ferravane::field
