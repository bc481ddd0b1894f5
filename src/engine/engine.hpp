// The row engine: whole rows of a line for every front end (the dialog's
// tables and the command line), so that no front end puts the model's or
// the field solver's parts together itself. Each entry point does no work
// whose inputs have not changed since the last call: a strip is found or
// solved once, its part of the loss computed once for all frequencies, and
// a frequency's part once for all strips.
//
// Two solvers stand behind it. The closed forms (src/model) give a single
// strip centred between the planes in 32-bit steps, every value bit for bit
// what the model's five routines give when called in full for that row;
// the field solver (src/field) gives any strip, off centre or an
// edge-coupled pair, in double, rounded to float here.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "field/field.hpp"
#include "model/parts.hpp"
#include "model/records.hpp"

namespace ferravane::engine {

enum class Solver : std::uint8_t { model, field };

// A line in the model's units: lengths in inches, the resistivity in
// ohm-inches.
struct Line {
    float b = 0.0f;     // ground-plane spacing
    float t = 0.0f;     // strip thickness; 0 takes the zero-thickness forms
    float er = 0.0f;    // relative dielectric constant
    float tlos = 0.0f;  // dielectric loss tangent
    float res = 0.0f;   // resistivity of the conductors; 0 is no conductor loss
    float sr = 0.0f;    // RMS surface roughness
    Solver solver = Solver::model;
    bool pair = false;       // an edge-coupled pair (field solver)
    std::optional<float> h;  // the strips' lower face above the lower plane (field
                             // solver); none: centred, (B - T) / 2
};

// Why a strip could not be found for what was asked.
enum class Unrealised : std::uint8_t {
    none,
    too_narrow,      // narrower than the narrowest strip (0.0009 inch; 1e-4 B)
    no_width,        // the closed forms' search ended on no width at all
    too_wide,        // wider than 20 B
    gap_too_narrow,  // a gap below 1e-4 B
    gap_too_wide,    // a gap above 20 B: the pair is too weakly coupled
    bad_target,      // not an impedance, or Z_even not above Z_odd
    no_convergence,  // the search did not settle
};

// A pair's impedances, ohms.
struct PairImpedances {
    float z_odd = 0.0f, z_even = 0.0f, z_diff = 0.0f, z_common = 0.0f;
    float coupling = 0.0f;  // (Z_even - Z_odd) / (Z_even + Z_odd)
};

// One strip (or pair) of the line: of a given width, or the one found for
// an impedance.
struct Strip {
    bool realised = true;
    Unrealised why = Unrealised::none;
    float w = 0.0f;        // inches; not realised by the closed forms: where the search gave up
    float s = 0.0f;        // a pair's gap, inches
    float zo = 0.0f;       // ohms, the impedance of a single strip; not realised by
                           // the closed forms: the impedance the search was left with
    PairImpedances pair;   // of a pair
    float wbyb = 0.0f;     // W/B
    float tec = 0.0f;      // TE11 cutoff of a centred single strip, GHz (at most 999.99)
    model::Slsen1 sen;     // sensitivities of Zo (closed forms), when wanted
    std::optional<float> zo_model;  // field solver, centred single strip: the closed forms' Zo
};

// A mode of the row's line as a TEM line for the network layer, SI units.
struct TemMode {
    double z_air = 0.0;        // the impedance of the line filled with air, ohms
    double r_per_m = 0.0;      // series resistance at the row's frequency, ohms per metre
};

// One row of a table: a strip, the impedance the row is for, and the
// loss at one frequency.
struct Row {
    Strip strip;
    float zo = 0.0f;          // the impedance asked for (synthesis), or the strip's
    std::optional<float> f;   // MHz, when the row has a loss
    model::Sllos1 loss;       // at f: the single strip's, or a pair's odd mode
    model::Sllos1 loss_even;  // a pair's even mode
    // False for a strip of zero thickness in the field solver: its conductor
    // loss is not finite, and ac, atot and qu mean nothing.
    bool conductor_loss_finite = true;
    TemMode tem, tem_even;    // as loss and loss_even, when wanted
};

// How many of the impedances asked for after one a synthesis takes, to
// find their strips side by side with its own.
inline constexpr std::size_t kAhead = model::kTogether - 1;

// What a table shows beyond a strip's width, impedance, W/B and cutoff.
struct Wanted {
    bool sensitivities = false;  // closed forms
    bool losses = false;         // field solver: solve for the loss derivative too
    bool model_zo = false;       // field solver: the closed forms' Zo beside
    bool network = false;        // each row's TEM modes for the network layer
};

// Whether the field solver takes the line with a strip (or pair) of width
// w and gap s, inches.
field::Status check(const Line& line, float w, float s);

// The rows of one line. A strip made by of_width, for_impedance or the
// pair entry points is the current strip until the next one; loss_at
// gives its loss.
class LineRows {
public:
    explicit LineRows(const Line& line, Wanted wanted = {});

    const Line& line() const { return line_; }

    // The strip of width w, or the pair of width w and gap s (analysis).
    const Strip& of_width(float w, float s = 0.0f);
    // The single strip whose impedance is zo (synthesis). With next, the
    // impedances the caller asks for after it, those strips are found too
    // (up to model::kTogether in all), side by side so that their function
    // calls overlap, and kept for those calls.
    const Strip& for_impedance(float zo, std::span<const float> next = {});
    // A pair's width for z_diff at the gap s; its gap for z_diff at the
    // width w; both for (z_odd, z_even).
    const Strip& pair_width_for(float z_diff, float s);
    const Strip& pair_gap_for(float z_diff, float w);
    const Strip& pair_for(float z_odd, float z_even);
    // The current strip's loss at f MHz (a strip not realised has none).
    const Row& loss_at(Row& row, float f);

private:
    friend field::Status check(const Line& line, float w, float s);

    void describe(bool sensitivities = true);
    bool ahead_is(float asked) const;
    void take_ahead();
    void solved(const field::Solution& solution, const field::CrossSection& cs);
    void found(const field::Synthesis& synthesis);
    field::CrossSection cross_section(float w, float s) const;
    field::Options options() const;

    Line line_;
    Wanted wanted_;
    Strip strip_;
    // Closed forms: what the line gives every strip, the current strip's
    // geometry and part of the loss.
    model::LineParts parts_;
    model::ZoGeometry geometry_;
    std::optional<model::LossOfLine> of_strip_;
    std::optional<float> zo_air_;  // slzo_in(geometry_, 1)
    std::optional<float> f_;  // the frequency of at_
    model::LossAtFrequency at_;
    // Closed forms: the strip found beside the current one, for the next call.
    struct Ahead {
        float asked = 0.0f;
        Strip strip;
        model::ZoGeometry geometry;
        std::optional<model::LossOfLine> of_strip;
        std::optional<float> zo_air;
    };
    std::vector<Ahead> ahead_;  // in the order they will be asked for
    // Field solver: the current strip's solution.
    field::CrossSection cs_;
    field::Solution solution_;
};

}  // namespace ferravane::engine
