// A small complex type with its formulas spelled out: the library's complex
// multiply and divide may be compiled with fused multiply-add on some
// targets, which would change the bits.
#pragma once

namespace ferravane::field {

struct Cx {
    double re = 0.0;
    double im = 0.0;
};

inline Cx operator+(Cx a, Cx b) { return {a.re + b.re, a.im + b.im}; }
inline Cx operator-(Cx a, Cx b) { return {a.re - b.re, a.im - b.im}; }
inline Cx operator*(Cx a, Cx b) { return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re}; }
inline Cx operator*(double a, Cx b) { return {a * b.re, a * b.im}; }
inline double norm2(Cx a) { return a.re * a.re + a.im * a.im; }

}  // namespace ferravane::field
