#include "input/dialog.hpp"

#include <cstdint>

#include "input/defaults_file.hpp"
#include "input/screens.hpp"
#include "model/materials.hpp"
#include "model/model.hpp"
#include "model/sweep.hpp"
#include "textio/layout.hpp"
#include "textio/numeric_field.hpp"

namespace ferravane::input {
namespace {

using textio::Layout;
using textio::nearest_int;
namespace sc = screens;

bool passes(Accept accept, float answer) {
    switch (accept) {
        case Accept::positive: return answer > 0.0f;
        case Accept::at_least_one: return answer >= 1.0f;
        case Accept::realisable_width: return answer > model::kMinWidth;
    }
    return false;
}

class Dialog {
public:
    Dialog(state::DesignState& s, state::Session& io) : s_(s), io_(io), answers_{s} {}

    void run();

private:
    void show(const Layout& lay) { io_.console.write(lay); }
    void show(Block block) {
        Layout lay;
        put(lay, block);
        show(lay);
    }
    float ask(const Prompt& p) {
        Layout lay;
        if (p.opens_line) lay.end();
        lay.x(p.indent).lit(p.text);
        io_.console.prompt(lay);
        return io_.console.read_number();
    }
    std::int32_t ask_choice(const Prompt& p) { return nearest_int(ask(p)); }

    // The answer pattern: the field takes its default, and the answer only
    // when it passes the question's test; a rejected answer is not reported.
    float fill(const Question& q) {
        const float temp = ask(q.prompt);
        float& field = q.field(answers_);
        field = q.dflt(s_);
        if (passes(q.accept, temp)) field = temp;
        return field;
    }
    // A sweep's start, stop and step under their heading; a stop below the
    // start becomes the start. Returns the number of rows.
    std::int32_t fill_range(const Block& heading, const Question& start, const Question& stop,
                            const Question& step) {
        show(heading);
        const float first = fill(start);
        fill(stop);
        float& last = stop.field(answers_);
        if (first > last) last = first;
        const float by = fill(step);
        return model::step_count(first, last, by);
    }
    float choose(const Menu& m) {
        Layout lay;
        lay.x(m.heading.indent).lit(m.heading.text).end();
        for (const MenuEntry& e : m.entries) lay.x(m.entry_indent).lit(e.text).end();
        show(lay);
        const std::int32_t itemp = ask_choice(m.prompt);
        const auto count = static_cast<std::int32_t>(m.entries.size());
        const std::size_t choice = (itemp > 0 && itemp <= count) ? static_cast<std::size_t>(itemp)
                                                                 : m.default_choice;
        return m.entries[choice - 1].value;
    }

    void function_and_design_data();
    void options_and_ranges();
    void analysis_options();
    void frequency_range();
    void guidance_widths();
    void width_range();
    void impedance_range();
    void synthesis_options();
    void storage();

    state::DesignState& s_;
    state::Session& io_;
    Answers answers_;
};

void Dialog::run() {
    auto& b1 = s_.blk1;
    auto& b2 = s_.blk2;
    b2.iop = 1;
    if (b2.isel == 1) {  // a new option for the same line
        options_and_ranges();
        return;
    }
    b1.ifunc = 2;
    if (b2.isel != 2) {  // the first entry
        b2.isel = 0;
        b1.istore = 0;
        read_defaults_file(s_, io_);
        if (b2.isel == -1) return;
        const platform::LocalTime now = io_.clock();
        s_.blk3 = state::Blk3{.imon = now.month, .iday = now.day, .iyr = now.year,
                              .ihr = now.hour, .imin = now.minute, .isec = now.second};
    }
    Layout lay;
    sc::banner(lay, s_.blk3);
    show(lay);
    function_and_design_data();
    options_and_ranges();
}

void Dialog::function_and_design_data() {
    auto& b1 = s_.blk1;
    auto& b2 = s_.blk2;
    show(sc::kFunctionMenu);
    const std::int32_t itemp = ask_choice(sc::kFunctionPrompt);
    if (itemp > 0) b1.ifunc = itemp;
    if (b1.ifunc > 2) b1.ifunc = 2;

    show(sc::kDimensionalData);
    fill(sc::kB);
    fill(sc::kT);
    if (!(b2.t < b2.b)) b2.t = 0.0f;  // a strip at least as thick as B: zero thickness
    fill(sc::kEr);
    fill(sc::kDltan);

    b1.res1 = choose(sc::kResistivity);
    b2.res = model::ohm_inches(b1.res1);
    b2.sr1 = choose(sc::kRoughness);
    b2.sr = model::inches_of_roughness(b2.sr1);
}

void Dialog::options_and_ranges() {
    if (s_.blk1.ifunc == 2) {
        impedance_range();
        synthesis_options();
    } else {
        analysis_options();
        if (s_.blk2.iop == 2) {
            width_range();
        } else {
            frequency_range();
            guidance_widths();
        }
    }
    storage();
}

void Dialog::analysis_options() {
    show(sc::kAnalysisOptions);
    const std::int32_t itemp = ask_choice(sc::kAnalysisOptionPrompt);
    if (itemp > 0) s_.blk2.iop = itemp;
    if (s_.blk2.iop != 2) s_.blk2.iop = 1;
}

void Dialog::frequency_range() {
    s_.blk1.l = fill_range(sc::kFrequencyRange, sc::kFstart, sc::kFstop, sc::kFstep);
}

void Dialog::guidance_widths() {
    const auto& b2 = s_.blk2;
    std::int32_t isyne = 0;
    float zotemp = 0.0f;
    float w1oo = 0.0f;

    // The third guidance line shows the highest of 100..70 ohms that the
    // line can realise, else 60 ohms whatever its width.
    struct Try {
        float zo;
        std::string_view label;
    };
    constexpr Try tries[] = {{100.0f, "100"}, {90.0f, " 90"}, {80.0f, " 80"}, {70.0f, " 70"}};
    std::string_view label;
    bool found = false;
    for (const Try& t : tries) {
        zotemp = t.zo;
        label = t.label;
        model::slwb(b2.b, b2.er, isyne, b2.t, w1oo, zotemp);
        if (isyne == 0) {
            found = true;
            break;
        }
    }
    if (!found) {
        zotemp = 60.0f;
        label = " 60";
        model::slwb(b2.b, b2.er, isyne, b2.t, w1oo, zotemp);
    }
    float w2o = 0.0f;
    float w5o = 0.0f;
    zotemp = 20.0f;
    model::slwb(b2.b, b2.er, isyne, b2.t, w2o, zotemp);
    zotemp = 50.0f;
    model::slwb(b2.b, b2.er, isyne, b2.t, w5o, zotemp);

    Layout lay;
    sc::guidance_widths(lay, w2o, w5o, label, w1oo);
    show(lay);
    fill(sc::kStripWidth);
}

void Dialog::width_range() {
    s_.blk1.l = fill_range(sc::kWidthRange, sc::kWmin, sc::kWmax, sc::kWstep);
}

void Dialog::impedance_range() {
    auto& b1 = s_.blk1;
    const auto& b2 = s_.blk2;
    show(sc::kImpedanceRange);

    bool ask_zmin = true;
    for (;;) {
        if (ask_zmin) fill(sc::kZmin);
        fill(sc::kZmax);
        if (b1.zmin > b1.zmax) b1.zmax = b1.zmin;

        // Can the highest impedance still be built? The synthesis leaves in
        // zmax the impedance of the last width it tried.
        const bool zmax_is_zmin = b1.zmax == b1.zmin;
        std::int32_t isyne = 0;
        float wtemp = 0.0f;
        model::slwb(b2.b, b2.er, isyne, b2.t, wtemp, b1.zmax);
        if (isyne == 0) break;

        wtemp = 0.001f;
        float zmax1 = 0.0f;
        model::slzo(b2.b, b2.er, b2.t, wtemp, zmax1);
        Layout msg;
        sc::max_impedance_message(msg, b1.zmax, zmax1);
        show(msg);
        // When even Zmin cannot be realised, no Zmax answer can pass: ask
        // Zmin again so the user can leave the loop.
        ask_zmin = zmax_is_zmin;
    }

    fill(sc::kZstep);
    b1.l = model::step_count(b1.zmin, b1.zmax, b1.zstep);
}

void Dialog::synthesis_options() {
    auto& b2 = s_.blk2;
    show(sc::kSynthesisOptions);
    const std::int32_t itemp = ask_choice(sc::kSynthesisOptionPrompt);
    if (itemp > 0) b2.iop = itemp;
    if (b2.iop == 2) return;
    b2.iop = 1;
    fill(sc::kLossFrequency);
}

void Dialog::storage() {
    auto& b1 = s_.blk1;
    auto& b2 = s_.blk2;
    b1.istore = 0;
    if (ask_choice(sc::kStoragePrompt) != 1) return;
    b1.istore = 1;
    show(sc::kFilenameHints);
    Layout prompt;
    prompt.x(sc::kFilenamePrompt.indent).lit(sc::kFilenamePrompt.text);
    io_.console.prompt(prompt);
    b2.fn = b2.fndef;
    const textio::Text20 text = io_.console.read_text();
    if (!text.blank()) b2.fn = text;
}

}  // namespace

void slinput(state::DesignState& s, state::Session& io) { Dialog(s, io).run(); }

}  // namespace ferravane::input
