// The row engine: whole rows of a line for every front end (the dialog's
// tables and the command line), so that no front end puts the model's
// parts together itself. Each entry point does no model work whose inputs
// have not changed since the last call: a strip's width is found once, its
// part of the loss computed once for all frequencies, and a frequency's
// part once for all strips. Every value is, bit for bit, what the model's
// five routines give when called in full for that row.
#pragma once

#include <optional>

#include "model/parts.hpp"
#include "model/records.hpp"

namespace ferravane::engine {

// A single strip centred between two ground planes, in the model's units:
// lengths in inches, the resistivity in ohm-inches.
struct Line {
    float b = 0.0f;     // ground-plane spacing
    float t = 0.0f;     // strip thickness; 0 takes the zero-thickness forms
    float er = 0.0f;    // relative dielectric constant
    float tlos = 0.0f;  // dielectric loss tangent
    float res = 0.0f;   // resistivity of the conductors; 0 is no conductor loss
    float sr = 0.0f;    // RMS surface roughness
};

// One strip of the line: of a given width, or the one the width search
// finds for an impedance.
struct Strip {
    bool realised = true;  // false: the search found no strip of kMinWidth or more
    float w = 0.0f;        // inches; not realised: where the search gave up
    float zo = 0.0f;       // ohms, the impedance of w; not realised: the
                           // impedance the search was left with
    float wbyb = 0.0f;     // W/B
    float tec = 0.0f;      // TE11 cutoff, GHz (at most 999.99)
    model::Slsen1 sen;     // sensitivities of Zo, when wanted
};

// One row of a table: a strip, the impedance the row is for, and the
// loss at one frequency.
struct Row {
    Strip strip;
    float zo = 0.0f;          // the impedance asked for (synthesis), or the strip's
    std::optional<float> f;   // MHz, when the row has a loss
    model::Sllos1 loss;       // at f
};

// What a table shows beyond a strip's width, impedance, W/B and cutoff.
struct Wanted {
    bool sensitivities = false;
};

// The rows of one line. A strip made by of_width or for_impedance is the
// current strip until the next one; loss_at gives its loss.
class LineRows {
public:
    explicit LineRows(const Line& line, Wanted wanted = {}) : line_(line), wanted_(wanted) {}

    const Line& line() const { return line_; }

    // The strip of width w (analysis).
    const Strip& of_width(float w);
    // The strip whose impedance is zo (synthesis): the model's width search.
    const Strip& for_impedance(float zo);
    // The wavelengths, losses and unloaded Q of the current strip at f MHz
    // (a strip that was not realised has none).
    const model::Sllos1& loss_at(float f);

private:
    void describe();

    Line line_;
    Wanted wanted_;
    Strip strip_;
    model::ZoGeometry geometry_;      // of the current strip
    std::optional<model::LossOfLine> of_strip_;      // its part of the loss
    std::optional<float> f_;                          // the frequency of at_
    model::LossAtFrequency at_;
    model::Sllos1 loss_;
};

}  // namespace ferravane::engine
