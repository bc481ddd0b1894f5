#include "input/screens.hpp"

#include <array>
#include <iterator>

#include "model/materials.hpp"
#include "state/program.hpp"

namespace ferravane::input {

void put(textio::Layout& lay, Block block) {
    for (const Line& line : block) lay.x(line.indent).lit(line.text).end();
}

namespace screens {
namespace {

using state::DesignState;

constexpr Line kEmpty{0, ""};

constexpr Line kPurposeLines[] = {
    kEmpty,
    {6, "This program performs Impedance ANALYSIS and Dimensional"},
    {6, "SYNTHESIS for single-strip STRIPLINE transmission lines."},
};
constexpr Line kFunctionMenuLines[] = {
    kEmpty,
    {6, "Please select a Program FUNCTION:"},
    {10, " 1: ANALYSIS of Impedances: Zo from known Strip Widths: W."},
    {10, "      - Frequency Analysis of Stripline with Loss."},
    {10, "      - Sensitivity Analysis of Zo vs. Strip Widths."},
    {10, "*2: SYNTHESIS of Strip Widths: W from known Impedances: Zo (Default)."},
    {10, "      - Strip width synthesis with Transmission Loss."},
    {10, "      - Strip width synthesis with Sensitivity Analysis."},
};
constexpr Line kDimensionalDataLines[] = {kEmpty, {6, "Please enter the following DIMENSIONAL DATA :"}};
constexpr Line kAnalysisOptionsLines[] = {
    kEmpty,
    {6, "Select one of the following Analysis OPTIONS:"},
    {9, "*1: Frequency Analysis of Stripline with Loss (Default)."},
    {9, " 2: Sensitivity Analysis of Zo vs. Strip Widths."},
};
constexpr Line kFrequencyRangeLines[] = {kEmpty, {6, "Please enter Frequency Range for Impedance ANALYSIS:"}};
constexpr Line kWidthRangeLines[] = {kEmpty, {6, "Please enter range of Strip Widths for Impedance ANALYSIS:"}};
constexpr Line kImpedanceRangeLines[] = {kEmpty, {6, "Please enter range of Impedances for SYNTHESIS:"}};
constexpr Line kSynthesisOptionsLines[] = {
    kEmpty,
    {6, "Select one of the following Synthesis OPTIONS:"},
    {9, "*1: Strip Width Synthesis with Transmission Loss (Default)."},
    {9, " 2: Strip Width Synthesis with Sensitivity Analysis."},
};
constexpr Line kFilenameHintsLines[] = {
    {6, "Enter a FILENAME (up to 20 characters) for Output Data storage: "},
    {10, "-Enter: Filename.xls for storage in a spreadsheet"},
    {10, "-Enter: Filename.doc for storage in a word processor"},
    {10, "-Enter: Filename.txt for storage as a text document"},
};

// The menus' entries from the model's tables of materials.
template <const auto& kTable, auto kValue>
constexpr auto entries_of() {
    std::array<MenuEntry, std::size(kTable)> e{};
    for (std::size_t i = 0; i < e.size(); ++i) e[i] = {kTable[i].entry, kTable[i].*kValue};
    return e;
}
constexpr auto kResistivityEntries = entries_of<model::kMetals, &model::Metal::res1>();
constexpr auto kRoughnessEntries = entries_of<model::kRoughnesses, &model::Roughness::sr1>();

// The indent of every design data and range question.
constexpr int kAsk = 11;
// The indent of the entries of a material menu.
constexpr int kEntry = 14;

}  // namespace

const Block kPurpose = kPurposeLines;
const Block kFunctionMenu = kFunctionMenuLines;
const Block kDimensionalData = kDimensionalDataLines;
const Block kAnalysisOptions = kAnalysisOptionsLines;
const Block kFrequencyRange = kFrequencyRangeLines;
const Block kWidthRange = kWidthRangeLines;
const Block kImpedanceRange = kImpedanceRangeLines;
const Block kSynthesisOptions = kSynthesisOptionsLines;
const Block kFilenameHints = kFilenameHintsLines;

const Prompt kFunctionPrompt{6, "Program FUNCTION selected = "};
const Prompt kAnalysisOptionPrompt{6, "Analysis OPTION selected = "};
const Prompt kSynthesisOptionPrompt{6, "Synthesis OPTION selected = "};
const Prompt kStoragePrompt{6, "Is Output Data STORAGE desired? (1=YES) = ", true};
const Prompt kFilenamePrompt{11, "Enter your FILENAME for Output Data Storage: "};

// Design data.
const Question kB{{kAsk, "-Stripline`s Ground Plane Spacing:   B,Inches = "}, Accept::positive,
                  [](const DesignState& s) { return s.blk5.bdef; },
                  [](Answers& a) -> float& { return a.s.blk2.b; }};
const Question kT{{kAsk, "-Center Conductor`s Strip Thickness: T,Inches = "}, Accept::positive,
                  [](const DesignState& s) { return s.blk5.tdef; },
                  [](Answers& a) -> float& { return a.s.blk2.t; }};
const Question kEr{{kAsk, "-Substrate`s Relative Dielectric Constant: Er = "}, Accept::at_least_one,
                   [](const DesignState& s) { return s.blk5.erdef; },
                   [](Answers& a) -> float& { return a.s.blk2.er; }};
const Question kDltan{{kAsk, "-Substrate`s Dielectric Loss Tangent: DLTAN   = "}, Accept::positive,
                      [](const DesignState& s) { return s.blk5.tlosdef; },
                      [](Answers& a) -> float& { return a.s.blk2.tlos; }};

// Frequency analysis.
const Question kFstart{{kAsk, "-Analysis Start Frequency: Fstart, MHz = "}, Accept::positive,
                       [](const DesignState& s) { return s.blk4.fmindef; },
                       [](Answers& a) -> float& { return a.s.blk2.fmin; }};
const Question kFstop{{kAsk, "-Analysis Stop  Frequency: Fstop , MHz = "}, Accept::positive,
                      [](const DesignState& s) { return s.blk4.fmaxdef; },
                      [](Answers& a) -> float& { return a.fmax; }};
const Question kFstep{{kAsk, "-Analysis Step  Frequency: Fstep , MHz = "}, Accept::positive,
                      [](const DesignState& s) { return s.blk4.fstepdef; },
                      [](Answers& a) -> float& { return a.s.blk2.fstep; }};
const Question kStripWidth{{kAsk, "-Enter your Strip Width, Inches= "}, Accept::realisable_width,
                           [](const DesignState& s) { return s.blk5.wdefdef; },
                           [](Answers& a) -> float& { return a.s.blk2.wdef; }};

// Width sweep.
const Question kWmin{{kAsk, "-Minimum Strip Width: Wmin, Inches = "}, Accept::realisable_width,
                     [](const DesignState& s) { return s.blk5.wmindef; },
                     [](Answers& a) -> float& { return a.s.blk1.wmin; }};
const Question kWmax{{kAsk, "-Maximum Strip Width: Wmax, Inches = "}, Accept::realisable_width,
                     [](const DesignState& s) { return s.blk5.wmaxdef; },
                     [](Answers& a) -> float& { return a.wmax; }};
const Question kWstep{{kAsk, "-Strip Step Size    : Wstep,Inches = "}, Accept::positive,
                      [](const DesignState& s) { return s.blk5.wstepdef; },
                      [](Answers& a) -> float& { return a.s.blk1.wstep; }};

// Impedance sweep.
const Question kZmin{{kAsk, "-Minimum Impedance: Zmin, Ohms = "}, Accept::positive,
                     [](const DesignState& s) { return s.blk4.zmindef; },
                     [](Answers& a) -> float& { return a.s.blk1.zmin; }};
const Question kZmax{{kAsk, "-Maximum Impedance: Zmax, Ohms = "}, Accept::positive,
                     [](const DesignState& s) { return s.blk4.zmaxdef; },
                     [](Answers& a) -> float& { return a.s.blk1.zmax; }};
const Question kZstep{{kAsk, "-Zo Step Size     : Zstep,Ohms = "}, Accept::positive,
                      [](const DesignState& s) { return s.blk4.zstepdef; },
                      [](Answers& a) -> float& { return a.s.blk1.zstep; }};
const Question kLossFrequency{
    {6, "Enter Frequency where Insertion Loss is calculated, MHz = ", true}, Accept::positive,
    [](const DesignState& s) { return s.blk4.fdefdef; },
    [](Answers& a) -> float& { return a.s.blk1.fdef; }};

const Menu kResistivity{{kAsk, "-Conductor Resistivity: RES, Micro-Ohm-cm:"}, kEntry, kResistivityEntries,
                        model::kDefaultMetal + 1, {12, "Conductor Resistivity selected = "}};
const Menu kRoughness{{kAsk, "-RMS Surface Roughness: SR, Micro-Inches:"}, kEntry, kRoughnessEntries,
                      model::kDefaultRoughness + 1, {12, "RMS Surface Roughness selected = "}};

void banner(textio::Layout& lay, const state::Blk3& d) {
    lay.end().end();
    lay.x(14).lit(state::kMakerLine).end();
    lay.x(14).lit("  RF/Microwave Computer-Aided Design Engineering Software.").end();
    lay.x(18).lit("Program: ").lit(state::kProgramTitle).lit("        Date: ").i(2, d.imon).lit("/")
        .i(2, d.iday).lit("/").i(4, d.iyr).end();
    lay.end();
    put(lay, kPurpose);
}

void guidance_widths(textio::Layout& lay, float w2o, float w5o, std::string_view label,
                     float w1oo) {
    lay.end();
    lay.x(6).lit("Please enter one Strip Width for Frequency Analysis:").end();
    lay.x(kAsk).lit("-For Zo = 20 Ohms, Strip Width =").f(7, 4, w2o).lit(" Inches.").end();
    lay.x(kAsk).lit("-For Zo = 50 Ohms, Strip Width =").f(7, 4, w5o).lit(" Inches.").end();
    lay.x(kAsk).lit("-For Zo =").a(3, label).lit(" Ohms, Strip Width =").f(7, 4, w1oo)
        .lit(" Inches.").end();
}

void max_impedance_message(textio::Layout& lay, float zmax, float zmax1) {
    lay.end();
    lay.x(6).lit("Your maximum Impedance: ").f(7, 3, zmax).lit(" Ohms results in a minimum Strip")
        .end();
    lay.x(6).lit("Width < 0.001 inches, which is challenging to physically realize.").end();
    lay.x(6).lit("For a minimum Strip Width = 0.001 inches, Maximum Impedance =").f(7, 3, zmax1)
        .lit(" Ohms.").end();
    lay.x(6).lit("Please re-enter a Maximum Impedance below").f(7, 3, zmax1).lit(" Ohms.").end();
    lay.end();
}

}  // namespace screens
}  // namespace ferravane::input
