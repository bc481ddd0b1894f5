// Input domains of the comparisons with MPFR, shared by the quick test and
// the exhaustive one, which runs each with many more inputs, and the tally
// of each arithmetic against one reference value per input.
#pragma once

#include <cmath>
#include <cstddef>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "each_kernel.hpp"
#include "math_reference.hpp"
#include "math/kernels.hpp"

namespace ferravane::math::reference {

using detail::Functions;
using Gen = double (*)(Inputs&);
using Unary = double (*)(double);

struct UnaryDomain {
    const char* name;
    Unary Functions::*ours;
    double (Ref::*ref)(double);
    Gen gen;
    int count;
};
inline void PrintTo(const UnaryDomain& d, std::ostream* os) { *os << d.name; }

// One tally for each arithmetic this processor runs, each named after it.
struct KernelTallies {
    std::vector<const Functions*> kernels = reference::kernels_here();
    std::vector<Tally> tallies = std::vector<Tally>(kernels.size());

    std::string summary(const char* domain, std::size_t i) const {
        return tallies[i].summary((std::string(domain) + " " + kernel_name(kernels[i]->kernel)).c_str());
    }
};

// Ranges the model uses, whole domains, and the edges where the reductions
// and the final rounding change behaviour.
inline const std::vector<UnaryDomain>& unary_domains() {
    static const std::vector<UnaryDomain> domains = {
        {"exp_model", &Functions::exp, &Ref::exp, [](Inputs& in) { return in.uniform(-100, 100); }, 200000},
        {"exp_whole", &Functions::exp, &Ref::exp, [](Inputs& in) { return in.uniform(-745.2, 709.8); },
         100000},
        {"exp_small", &Functions::exp, &Ref::exp,
         [](Inputs& in) { return in.sign() * in.log_uniform(0x1p-60, 1.0); }, 50000},
        {"exp_tiny", &Functions::exp, &Ref::exp,
         [](Inputs& in) { return in.sign() * in.log_uniform(0x1p-54, 0x1p-29); }, 20000},
        {"exp_subnormal", &Functions::exp, &Ref::exp, [](Inputs& in) { return in.uniform(-745.2, -708.0); },
         50000},
        {"exp_near_overflow", &Functions::exp, &Ref::exp, [](Inputs& in) { return in.uniform(709.0, 709.8); },
         20000},
        {"log_model", &Functions::log, &Ref::log, [](Inputs& in) { return in.log_uniform_bits(1e-40, 1e40); },
         200000},
        {"log_near_one", &Functions::log, &Ref::log,
         [](Inputs& in) { return 1.0 + in.sign() * in.log_uniform(0x1p-53, 0x1p-4); }, 100000},
        {"log_any", &Functions::log, &Ref::log, [](Inputs& in) { return std::fabs(in.any_finite()); },
         100000},
        {"log_subnormal", &Functions::log, &Ref::log, [](Inputs& in) { return in.uniform(0.0, 0x1p-1022); },
         20000},
        {"cosh_model", &Functions::cosh, &Ref::cosh, [](Inputs& in) { return in.uniform(0.0, 100.0); },
         150000},
        {"cosh_whole", &Functions::cosh, &Ref::cosh, [](Inputs& in) { return in.uniform(-710.5, 710.5); },
         50000},
        {"cosh_small", &Functions::cosh, &Ref::cosh,
         [](Inputs& in) { return in.sign() * in.log_uniform(0x1p-30, 2.0); }, 50000},
        {"cosh_tiny", &Functions::cosh, &Ref::cosh,
         [](Inputs& in) { return in.sign() * in.log_uniform(0x1p-27, 0x1p-19); }, 20000},
        {"atan_model", &Functions::atan, &Ref::atan, [](Inputs& in) { return in.log_uniform(1e-6, 1e12); },
         150000},
        {"atan_negative", &Functions::atan, &Ref::atan,
         [](Inputs& in) { return -in.log_uniform(1e-6, 1e12); },
         50000},
        {"atan_unit", &Functions::atan, &Ref::atan, [](Inputs& in) { return in.uniform(-2.0, 2.0); }, 100000},
        {"atan_any", &Functions::atan, &Ref::atan, [](Inputs& in) { return in.any_finite(); }, 50000},
    };
    return domains;
}

using PowGen = std::pair<double, double> (*)(Inputs&);

struct PowDomain {
    const char* name;
    PowGen gen;
    int count;
};
inline void PrintTo(const PowDomain& d, std::ostream* os) { *os << d.name; }

// y for a chosen y log x, so that the result is in range.
inline double exponent_for(double x, double t) { return t / std::log(x); }

inline const std::vector<PowDomain>& pow_domains() {
    static const std::vector<PowDomain> domains = {
        {"pow_model",
         [](Inputs& in) { return std::pair{in.log_uniform(1e-12, 1e6), in.uniform(-3.0, 3.0)}; },
         200000},
        {"pow_general",
         [](Inputs& in) {
             const double x = in.log_uniform(1e-300, 1e300);
             return std::pair{x, exponent_for(x, in.uniform(-745.0, 709.7))};
         },
         100000},
        {"pow_near_one",
         [](Inputs& in) {
             const double x = 1.0 + in.sign() * in.log_uniform(0x1p-52, 0x1p-10);
             return std::pair{x, exponent_for(x, in.uniform(-700.0, 700.0))};
         },
         50000},
        {"pow_negative_base",
         [](Inputs& in) {
             return std::pair{-in.log_uniform(1e-5, 1e5), static_cast<double>(in.integer(-60, 60))};
         },
         50000},
        {"pow_integer_exponent",
         [](Inputs& in) {
             return std::pair{in.log_uniform(1e-3, 1e3), static_cast<double>(in.integer(-100, 100))};
         },
         50000},
        // Exact powers: x = s^(2^k) and y = n / 2^k, so x^y = s^n, often
        // with 54 bits (a midpoint) or fewer.
        {"pow_exact",
         [](Inputs& in) {
             const auto k = static_cast<int>(in.integer(0, 2));
             double x = static_cast<double>(in.integer(2, k == 0 ? 300000 : 1000));
             for (int i = 0; i < k; ++i) {
                 x *= x;
             }
             return std::pair{x, static_cast<double>(in.integer(1, 12)) / (1 << k)};
         },
         20000},
        {"pow_subnormal",
         [](Inputs& in) {
             const double x = in.log_uniform(1e-10, 1e10);
             return std::pair{x, exponent_for(x, in.uniform(-745.1, -708.4))};
         },
         30000},
    };
    return domains;
}

}  // namespace ferravane::math::reference
