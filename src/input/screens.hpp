// Every text the dialog shows: fixed blocks, prompts, the numeric
// questions and the two materials menus, as rows of data. The order in
// which they are asked, and the few special cases, are in dialog.cpp.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "state/design_state.hpp"
#include "textio/layout.hpp"

namespace ferravane::input {

// One line of a fixed block: indent blanks, then the text. An empty text
// is an empty line.
struct Line {
    int indent;
    std::string_view text;
};
using Block = std::span<const Line>;

// A non-advancing prompt; opens_line ends the open line first.
struct Prompt {
    int indent;
    std::string_view text;
    bool opens_line = false;
};

// When a typed number replaces the question's default.
enum class Accept {
    positive,          // > 0
    at_least_one,      // >= 1 (a dielectric constant)
    realisable_width,  // wider than the narrowest strip that can be made
};

// The dialog's own working values beside the design state: the stop
// values serve only to count the steps of a sweep.
struct Answers {
    state::DesignState& s;
    float fmax = 0.0f;  // stop frequency, MHz
    float wmax = 0.0f;  // largest strip width, inches
};

// One numeric question: its prompt, the test an answer must pass, where
// its default comes from and the field it fills.
struct Question {
    Prompt prompt;
    Accept accept;
    float (*dflt)(const state::DesignState&);
    float& (*field)(Answers&);
};

// A menu whose choice n selects entry n; any other choice selects the
// default entry. Each entry's text stands beside its value.
struct MenuEntry {
    std::string_view text;
    float value;
};
struct Menu {
    Line heading;
    int entry_indent;
    std::span<const MenuEntry> entries;
    std::size_t default_choice;  // 1-based
    Prompt prompt;
};

namespace screens {

// Blocks.
extern const Block kPurpose;
extern const Block kFunctionMenu;
extern const Block kDimensionalData;
extern const Block kAnalysisOptions;
extern const Block kFrequencyRange;
extern const Block kWidthRange;
extern const Block kImpedanceRange;
extern const Block kSynthesisOptions;
extern const Block kFilenameHints;

// Menu prompts and the file name prompt.
extern const Prompt kFunctionPrompt;
extern const Prompt kAnalysisOptionPrompt;
extern const Prompt kSynthesisOptionPrompt;
extern const Prompt kStoragePrompt;
extern const Prompt kFilenamePrompt;

// Questions, in the order the dialog asks them within each group.
extern const Question kB, kT, kEr, kDltan;
extern const Question kFstart, kFstop, kFstep;
extern const Question kStripWidth;
extern const Question kWmin, kWmax, kWstep;
extern const Question kZmin, kZmax, kZstep;
extern const Question kLossFrequency;

extern const Menu kResistivity;  // micro-ohm-cm
extern const Menu kRoughness;    // micro-inches

// Blocks with values.
void banner(textio::Layout& lay, const state::Blk3& date);
// The three widths offered before the strip width question; label is the
// third impedance as three characters ("100", " 90", ...).
void guidance_widths(textio::Layout& lay, float w2o, float w5o, std::string_view label,
                     float w1oo);
void max_impedance_message(textio::Layout& lay, float zmax, float zmax1);

}  // namespace screens

// Appends a block's lines.
void put(textio::Layout& lay, Block block);

}  // namespace ferravane::input
