// A complex number and its arithmetic, spelled out in IEEE basic operations
// so that every platform and compiler gives the same bits: the standard
// library's complex multiply and divide may fuse operations on some
// targets, and its exp and sqrt call the C library. Shared by the field
// solver and the network layer.
#pragma once

namespace ferravane::math {

struct Complex {
    double re = 0.0;
    double im = 0.0;
};

inline Complex operator+(Complex a, Complex b) { return {a.re + b.re, a.im + b.im}; }
inline Complex operator-(Complex a, Complex b) { return {a.re - b.re, a.im - b.im}; }
inline Complex operator-(Complex a) { return {-a.re, -a.im}; }
inline Complex operator*(Complex a, Complex b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}
inline Complex operator*(double s, Complex a) { return {s * a.re, s * a.im}; }
// |z|^2, where the squares cannot overflow.
inline double norm2(Complex a) { return a.re * a.re + a.im * a.im; }

// Smith's division: the ratio of the smaller to the larger part of the
// divisor keeps the intermediate products in range.
Complex operator/(Complex a, Complex b);

// |z| without overflow or underflow in the squares.
double abs(Complex z);
// The principal square root: real part >= 0, branch cut on the negative axis.
Complex sqrt(Complex z);
// e^z with the project's exp, cos and sin.
Complex exp(Complex z);

}  // namespace ferravane::math
