// The 2-D field solver for stripline cross-sections: one strip or an
// edge-coupled pair of rectangular strips between two grounded planes in one
// dielectric. Units: metres, ohms, farads per metre, hertz, nepers per metre
// (constants.hpp). Plain structs and free functions; no I/O, no shared state.
//
// The solver discretises the strips' surface charge only: the potential of a
// line charge between two grounded planes is known in closed form. Panels
// are refined towards the corners and edges, where the charge is singular.
#pragma once

#include <cstdint>
#include <optional>

namespace ferravane::field {

enum class Pairing : std::uint8_t {
    single,        // one strip, centred on x = 0
    edge_coupled,  // two equal strips side by side, gap s, symmetric about x = 0
    // A broadside pair would be a third: strips one above the other.
};

// The cross-section. One dielectric fills the space between the planes; a
// second layer would add an interface height and its own Er (the solver
// would then carry unknowns on the interface as well).
struct CrossSection {
    double b = 0.0;             // plane spacing
    double er = 1.0;            // relative permittivity
    double w = 0.0;             // strip width
    double t = 0.0;             // strip thickness, 0 allowed
    std::optional<double> h;    // lower face above the lower plane; empty: centred, (b - t) / 2
    Pairing pairing = Pairing::single;
    double s = 0.0;             // edge-to-edge gap of a pair
};

// Lengths relative to B that the solver accepts; outside them a solve reports
// a geometry status rather than a number.
inline constexpr double kMinRatio = 1e-4;   // W/B, S/B, T/B (when not 0), H/B and the room above
inline constexpr double kMaxWidthRatio = 20.0;
inline constexpr double kMaxGapRatio = 20.0;

enum class Status : std::uint8_t {
    ok,
    invalid_input,     // a value is not a finite number of its sign, or er < 1
    outside_planes,    // the strip does not fit between the planes
    below_minimum,     // a width, gap, thickness or clearance below kMinRatio B
    above_maximum,     // a width or gap above its bound
};

// Refinements outside these give invalid_input (the matrix grows as its square).
inline constexpr double kMinRefinement = 0.5;
inline constexpr double kMaxRefinement = 16.0;

struct Options {
    // Scales every panel down: 2 halves each panel's length. 1 gives about 1e-7 on impedances.
    double refinement = 1.0;
    int nodes_per_panel = 10;      // 8, 10, 12 or 16
    bool use_symmetry = true;      // false: every surface discretised (for checks)
    bool loss_gradient = true;     // the recession derivatives too (two more, coarser solves)
};

// One propagating mode: the single strip's, or a pair's odd or even mode.
struct Mode {
    double z = 0.0;  // characteristic impedance, ohms
    double c = 0.0;  // capacitance per strip in the mode, F/m
    // (1/Z) dZ/dn, 1/m: the relative growth of Z as every conducting surface
    // (strips and planes) recedes into the metal. Empty when T = 0: the
    // conductor loss of a strip of zero thickness is not finite.
    std::optional<double> recession_gradient;
};

struct Solution {
    Status status = Status::ok;
    bool pair = false;
    double zo = 0.0;  // single strip
    // Pair: Z_diff = 2 Z_odd, Z_common = Z_even / 2, coupling = (Ze - Zo)/(Ze + Zo).
    double z_odd = 0.0, z_even = 0.0, z_diff = 0.0, z_common = 0.0, coupling = 0.0;
    // Capacitance matrix, F/m; 1x1 for a single strip (c[0][0]).
    double c[2][2] = {{0.0, 0.0}, {0.0, 0.0}};
    Mode single, odd, even;
    int unknowns = 0;  // size of the largest linear system solved
};

Solution solve(const CrossSection& cs, const Options& options = {});

// The checks solve() makes before it solves.
Status check(const CrossSection& cs);

// Conductor and dielectric of a line, SI: a resistivity of 1.7 micro-ohm cm
// is 1.7e-8 ohm m, a roughness of 2.5 micro-inch 63.5e-9 m.
struct Materials {
    double resistivity = 1.724e-8;  // ohm m (copper)
    double roughness = 0.0;         // rms surface roughness, m
    double tan_delta = 0.0;
};

struct ModeLoss {
    std::optional<double> conductor;  // Np/m; empty for T = 0 (not finite)
    double dielectric = 0.0;          // Np/m
    std::optional<double> total;      // Np/m; empty when the conductor loss is
    std::optional<double> q;          // unloaded Q; empty without a finite total or with no loss
};

struct Losses {
    bool ok = false;                 // f, the materials and the solution were usable
    double skin_depth = 0.0;         // m
    double surface_resistance = 0.0; // ohms, with the roughness factor
    double roughness_factor = 1.0;
    double wavelength = 0.0;         // free space, m
    double guide_wavelength = 0.0;   // m
    ModeLoss single, odd, even;
};

// Losses at f_hz > 0 from a solution with its recession gradients (not ok for
// f_hz <= 0, negative materials, a solution that is not ok, or one of finite
// thickness solved without loss_gradient).
Losses losses(const Solution& s, const CrossSection& cs, const Materials& m, double f_hz);

// Synthesis: the width and/or gap that give a target impedance, within
// kSynthesisTolerance of it, or a status saying why none does.
enum class SynthesisStatus : std::uint8_t {
    ok,
    invalid_input,        // the cross-section (apart from what is sought) is not valid
    invalid_target,       // not a positive finite impedance, or Z_even not above Z_odd
    width_below_minimum,  // the target needs a strip narrower than kMinRatio B
    width_above_maximum,  // ... wider than kMaxWidthRatio B
    gap_below_minimum,    // ... a gap narrower than kMinRatio B
    gap_above_maximum,    // ... a gap wider than kMaxGapRatio B (a pair too weakly coupled)
    no_convergence,       // the search did not settle (not expected)
};

inline constexpr double kSynthesisTolerance = 1e-6;  // relative, on each target impedance

struct Synthesis {
    SynthesisStatus status = SynthesisStatus::invalid_input;
    CrossSection cross_section;  // with the width and gap found
    Solution solution;           // its solve, with the caller's options
    int solves = 0;              // impedance solves the search took
};

// Width of a single strip (cs.w is ignored; cs.h may place it off centre).
Synthesis synthesize_width(const CrossSection& cs, double zo, const Options& options = {});
// Width of a pair for Z_diff at the gap cs.s.
Synthesis synthesize_pair_width(const CrossSection& cs, double z_diff, const Options& options = {});
// Gap of a pair for Z_diff at the width cs.w.
Synthesis synthesize_pair_gap(const CrossSection& cs, double z_diff, const Options& options = {});
// Width and gap of a pair for (Z_odd, Z_even); (Z_diff, Z_common) is
// (2 Z_odd, Z_even / 2).
Synthesis synthesize_pair(const CrossSection& cs, double z_odd, double z_even, const Options& options = {});
inline Synthesis synthesize_pair_diff_common(const CrossSection& cs, double z_diff, double z_common,
                                             const Options& options = {}) {
    return synthesize_pair(cs, z_diff / 2.0, 2.0 * z_common, options);
}

// Nepers to decibels: 20 log10(e).
inline constexpr double kDbPerNeper = 8.685889638065035;

}  // namespace ferravane::field
