// The solved surface charge itself, for checks of the solver against
// quantities it does not compute (the surface-current loss integral) and for
// drawing the field.
#pragma once

#include <vector>

#include "field/field.hpp"
#include "field/mesh.hpp"

namespace ferravane::field {

struct ChargeNode {
    Point p;              // relative to B, as in mesh.hpp
    double weight = 0.0;  // share of the surface, relative to B
    double sigma = 0.0;   // charge density for unit potential, over eps0 er
};

struct SurfaceCharge {
    bool ok = false;
    std::vector<ChargeNode> nodes;  // the discretised part
    std::vector<Image> images;      // its copies, identity first, with their signs
    double per_strip = 0.0;         // charge of one strip, over eps0 er
};

// One strip's charge at potential 1, or a pair's in its odd (sign -1) or
// even (+1) mode with the strips at +1 and sign.
SurfaceCharge surface_charge(const CrossSection& cs, const Options& options, double pair_sign);

}  // namespace ferravane::field
