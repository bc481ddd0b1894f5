// Correctly rounded references from MPFR, and the input generators and
// comparison shared by the quick and the exhaustive tests of the project's
// elementary functions.
#pragma once

#include <mpfr.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

namespace ferravane::math::reference {

// A 53-bit MPFR number with the exponent range of doubles, so that results
// are rounded once, subnormals included.
class Ref {
public:
    Ref() {
        mpfr_init2(x_, 53);
        mpfr_init2(y_, 53);
        mpfr_init2(r_, 53);
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    ~Ref() {
        mpfr_clear(x_);
        mpfr_clear(y_);
        mpfr_clear(r_);
    }

    double exp(double x) { return unary(mpfr_exp, x); }
    double log(double x) { return unary(mpfr_log, x); }
    double cosh(double x) { return unary(mpfr_cosh, x); }
    double atan(double x) { return unary(mpfr_atan, x); }
    double sin(double x) { return unary(mpfr_sin, x); }
    double cos(double x) { return unary(mpfr_cos, x); }
    double pow(double x, double y) {
        range();
        mpfr_set_d(x_, x, MPFR_RNDN);
        mpfr_set_d(y_, y, MPFR_RNDN);
        return finish(mpfr_pow(r_, x_, y_, MPFR_RNDN));
    }

private:
    static void range() {
        // Per thread in MPFR; cheap to set each time.
        mpfr_set_emin(-1073);
        mpfr_set_emax(1024);
    }
    double unary(int (*f)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t), double x) {
        range();
        mpfr_set_d(x_, x, MPFR_RNDN);
        return finish(f(r_, x_, MPFR_RNDN));
    }
    double finish(int inexact) {
        inexact = mpfr_check_range(r_, inexact, MPFR_RNDN);
        mpfr_subnormalize(r_, inexact, MPFR_RNDN);
        return mpfr_get_d(r_, MPFR_RNDN);
    }
    mpfr_t x_, y_, r_;
};

inline bool same(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) ||
           (std::isnan(a) && std::isnan(b));
}

// Distance in ulps between two finite doubles, counted along the ordered
// bit patterns.
inline std::uint64_t ulps(double a, double b) {
    // Bit patterns mapped to an unsigned scale that is monotonic in the value.
    auto key = [](double d) {
        const auto u = std::bit_cast<std::uint64_t>(d);
        constexpr std::uint64_t sign = std::uint64_t{1} << 63;
        return (u & sign) != 0 ? sign - (u & ~sign) : sign + u;
    };
    const std::uint64_t ka = key(a);
    const std::uint64_t kb = key(b);
    return ka > kb ? ka - kb : kb - ka;
}

// Inputs: uniform in [a, b], log-uniform in [a, b] (0 < a < b), or any bit
// pattern of a finite double.
class Inputs {
public:
    explicit Inputs(std::uint64_t seed) : gen_(seed) {}
    double uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(gen_); }
    double log_uniform(double a, double b) { return std::exp(uniform(std::log(a), std::log(b))); }
    // The same with the low 32 bits of the significand drawn afresh. The
    // log of e^u rounded is within 2^-53 of the double u, never near a
    // rounding boundary of its own: a log checked on those alone would
    // never meet its hard cases.
    double log_uniform_bits(double a, double b) {
        const auto u = std::bit_cast<std::uint64_t>(log_uniform(a, b));
        return std::bit_cast<double>((u & ~std::uint64_t{0xffffffff}) | (gen_() & 0xffffffff));
    }
    double any_finite() {
        for (;;) {
            const double d = std::bit_cast<double>(gen_());
            if (std::isfinite(d)) {
                return d;
            }
        }
    }
    double sign() { return (gen_() & 1) != 0 ? -1.0 : 1.0; }
    std::int64_t integer(std::int64_t a, std::int64_t b) {
        return std::uniform_int_distribution<std::int64_t>(a, b)(gen_);
    }

private:
    std::mt19937_64 gen_;
};

inline std::string hex(double x) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%a", x);
    return buf;
}

// Tally of disagreements with the reference. The input of the first is
// kept; formatting every input would cost more than the function checked.
struct Tally {
    std::uint64_t count = 0;
    std::uint64_t differ = 0;
    std::uint64_t max_ulps = 0;
    std::string first;

    void add(double got, double want, double x) { record(got, want, x, nullptr); }
    void add(double got, double want, double x, double y) { record(got, want, x, &y); }
    void merge(const Tally& t) {
        count += t.count;
        differ += t.differ;
        max_ulps = std::max(max_ulps, t.max_ulps);
        if (first.empty()) {
            first = t.first;
        }
    }
    std::string summary(const char* name) const {
        char buf[256];
        std::snprintf(buf, sizeof buf, "%-28s %10llu inputs, %llu differ (max %llu ulp)%s%s", name,
                      static_cast<unsigned long long>(count), static_cast<unsigned long long>(differ),
                      static_cast<unsigned long long>(max_ulps), first.empty() ? "" : ", first:",
                      first.c_str());
        return buf;
    }

private:
    void record(double got, double want, double x, const double* y) {
        ++count;
        if (same(got, want)) {
            return;
        }
        ++differ;
        const std::uint64_t u = (std::isfinite(got) && std::isfinite(want)) ? ulps(got, want) : ~0ull;
        max_ulps = std::max(max_ulps, u);
        if (first.empty()) {
            char buf[200];
            if (y != nullptr) {
                std::snprintf(buf, sizeof buf, "%a %a got %a want %a", x, *y, got, want);
            } else {
                std::snprintf(buf, sizeof buf, "%a got %a want %a", x, got, want);
            }
            first = buf;
        }
    }
};

}  // namespace ferravane::math::reference
