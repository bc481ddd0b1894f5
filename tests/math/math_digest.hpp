// Digests of exp, log, pow, cosh, atan, sin and cos over fixed pseudo-random
// arguments. The arguments come from integer arithmetic and IEEE operations
// only, so every platform draws the same ones and the digests must agree
// bit for bit, for the plain and the fused arithmetic alike: the check that
// needs no MPFR, for cross-compiled builds.
#pragma once

#include <bit>
#include <cstdint>

#include "math/kernels.hpp"

namespace ferravane::math::digest {

class Draw {
public:
    explicit Draw(std::uint64_t seed) : s_(seed) {}
    std::uint64_t next() {  // splitmix64
        std::uint64_t z = (s_ += 0x9e3779b97f4a7c15);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
        z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
        return z ^ (z >> 31);
    }
    double unit() { return static_cast<double>(next() >> 11) * 0x1p-53; }
    double uniform(double a, double b) { return a + (b - a) * unit(); }
    // Any finite positive double whose exponent lies in [lo, hi].
    double binade(int lo, int hi) {
        const std::uint64_t span = static_cast<std::uint64_t>(hi - lo + 1);
        const auto e = static_cast<std::uint64_t>(lo + 1023) + next() % span;
        return std::bit_cast<double>((e << 52) | (next() >> 12));
    }
    double any_finite() {
        const std::uint64_t u = next();
        return ((u >> 52) & 0x7ff) == 0x7ff ? 0.0 : std::bit_cast<double>(u);
    }

private:
    std::uint64_t s_;
};

struct Digests {
    std::uint64_t exp, log, pow, cosh, atan, sin, cos;
};

class Fnv {
public:
    void add(double d) {
        auto u = std::bit_cast<std::uint64_t>(d);
        for (int i = 0; i < 8; ++i, u >>= 8) {
            h_ = (h_ ^ (u & 0xff)) * 0x100000001b3;
        }
    }
    std::uint64_t value() const { return h_; }

private:
    std::uint64_t h_ = 0xcbf29ce484222325;
};

inline Digests digests(int count, const detail::Functions& f) {
    Digests d{};
    {
        Draw r(1);
        Fnv h;
        for (int i = 0; i < count; ++i) {
            h.add(f.exp(i % 2 ? r.uniform(-746.0, 710.0) : r.uniform(-100.0, 100.0)));
        }
        d.exp = h.value();
    }
    {
        Draw r(2);
        Fnv h;
        for (int i = 0; i < count; ++i) {
            h.add(f.log(i % 2 ? r.binade(-1074, 1023) : r.binade(-133, 133)));
        }
        d.log = h.value();
    }
    {
        Draw r(3);
        Fnv h;
        for (int i = 0; i < count; ++i) {
            // One draw a statement: the order of a call's arguments is unspecified.
            double x;
            double y;
            switch (i % 3) {
            case 0:
                x = r.binade(-40, 19);
                y = r.uniform(-3.0, 3.0);
                break;
            case 1:
                x = r.binade(-1074, 1023);
                y = r.uniform(-1.0, 1.0);
                break;
            default:
                x = -r.binade(-8, 8);
                y = static_cast<double>(static_cast<int>(r.next() % 121) - 60);
            }
            h.add(f.pow(x, y));
        }
        d.pow = h.value();
    }
    {
        Draw r(4);
        Fnv h;
        for (int i = 0; i < count; ++i) {
            h.add(f.cosh(i % 2 ? r.uniform(-711.0, 711.0) : r.uniform(0.0, 100.0)));
        }
        d.cosh = h.value();
    }
    {
        Draw r(5);
        Fnv h;
        for (int i = 0; i < count; ++i) {
            h.add(f.atan(i % 2 ? r.any_finite() : r.binade(-20, 40)));
        }
        d.atan = h.value();
    }
    {
        Draw r(6);
        Fnv h;
        for (int i = 0; i < count; ++i) {
            h.add(sin(i % 2 ? r.any_finite() : r.uniform(-1e8, 1e8)));
        }
        d.sin = h.value();
    }
    {
        Draw r(7);
        Fnv h;
        for (int i = 0; i < count; ++i) {
            h.add(cos(i % 2 ? r.binade(-30, 80) : r.uniform(-1e8, 1e8)));
        }
        d.cos = h.value();
    }
    return d;
}

}  // namespace ferravane::math::digest
