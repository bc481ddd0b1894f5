// The project's own exp, log, pow, cosh, atan, sin and cos on doubles. Each returns the
// correctly rounded result (round to nearest, ties to even) except in
// vanishingly rare cases, with the special values of C's Annex F, and is built
// from IEEE basic operations only, so it gives the same bits on every
// conforming platform, compiler and optimisation level, unlike the C
// library's functions.
#pragma once

namespace ferravane::math {

double exp(double x);
double log(double x);
double pow(double x, double y);
double cosh(double x);
double atan(double x);
double sin(double x);  // radians, any finite x
double cos(double x);

}  // namespace ferravane::math
