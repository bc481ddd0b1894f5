#include "input/dialog.hpp"

#include <array>
#include <cmath>

#include "input/defaults_file.hpp"
#include "model/model.hpp"
#include "model/sweep.hpp"
#include "textio/layout.hpp"
#include "textio/numeric_field.hpp"

namespace ferravane::input {
namespace {

using textio::Layout;
using textio::nearest_int;

constexpr const char* kMakerLine = "Stripline Design Tools";

// Resistivities (micro-ohm-cm) and roughnesses (micro-inches) of the menus.
constexpr std::array<float, 6> ro = {1.6f, 1.7f, 2.5f, 4.0f, 7.0f, 11.8f};
constexpr std::array<float, 5> rough = {10.0f, 5.0f, 2.5f, 1.0f, 0.0f};
constexpr std::int32_t kRoDefault = 2;
constexpr std::int32_t kRoughDefault = 3;

// A menu choice, 1-based; anything outside the table gives its default.
template <std::size_t N>
float menu_entry(const std::array<float, N>& table, std::int32_t itemp, std::int32_t dflt) {
    const std::int32_t choice = (itemp > 0 && itemp <= static_cast<std::int32_t>(N)) ? itemp : dflt;
    return table[static_cast<std::size_t>(choice - 1)];
}

class Dialog {
public:
    Dialog(run::DesignState& s, run::Session& io) : s_(s), io_(io) {}

    void run();

private:
    // Non-advancing prompt with the given indent, then one numeric answer.
    float ask(int indent, const char* text) {
        Layout lay;
        lay.x(indent).lit(text);
        io_.console.prompt(lay);
        return io_.console.read_number();
    }
    float ask_after_line_end(int indent, const char* text) {
        Layout lay;
        lay.end().x(indent).lit(text);
        io_.console.prompt(lay);
        return io_.console.read_number();
    }
    void show(const Layout& lay) { io_.console.write(lay); }

    void banner();
    void function_and_design_data();
    void options_and_ranges();
    void analysis_options();
    void frequency_range();
    void guidance_widths();
    void width_range();
    void impedance_range();
    void synthesis_options();
    void storage();

    run::DesignState& s_;
    run::Session& io_;
};

void Dialog::run() {
    auto& b1 = s_.blk1;
    auto& b2 = s_.blk2;
    b2.iop = 1;
    if (b2.isel == 1) {
        options_and_ranges();
        return;
    }
    if (b2.isel != 2) {
        b2.isel = 0;
        b1.istore = 0;
        b1.ifunc = 2;
        read_defaults_file(s_, io_);
        if (b2.isel == -1) return;
        const run::ClockValues v = io_.clock();
        s_.blk3 = run::Blk3{v[1], v[2], v[0], v[4], v[5], v[6]};
    } else {
        b1.ifunc = 2;
    }
    banner();
    function_and_design_data();
    options_and_ranges();
}

void Dialog::banner() {
    const auto& d = s_.blk3;
    Layout lay;
    lay.end().end();
    lay.x(14).lit(kMakerLine).end();
    lay.x(14).lit("  RF/Microwave Computer-Aided Design Engineering Software.").end();
    lay.x(18).lit("Program: Ferravane (v. 1.3)        Date: ").i(2, d.imon).lit("/").i(2, d.iday)
        .lit("/").i(4, d.iyr).end();
    lay.end();
    // Purpose lines.
    lay.end();
    lay.x(6).lit("This program performs Impedance ANALYSIS and Dimensional").end();
    lay.x(6).lit("SYNTHESIS for single-strip STRIPLINE transmission lines.").end();
    show(lay);
}

void Dialog::function_and_design_data() {
    auto& b1 = s_.blk1;
    auto& b2 = s_.blk2;
    const auto& d5 = s_.blk5;

    Layout menu;
    menu.end();
    menu.x(6).lit("Please select a Program FUNCTION:").end();
    menu.x(10).lit(" 1: ANALYSIS of Impedances: Zo from known Strip Widths: W.").end();
    menu.x(10).lit("      - Frequency Analysis of Stripline with Loss.").end();
    menu.x(10).lit("      - Sensitivity Analysis of Zo vs. Strip Widths.").end();
    menu.x(10).lit("*2: SYNTHESIS of Strip Widths: W from known Impedances: Zo (Default).").end();
    menu.x(10).lit("      - Strip width synthesis with Transmission Loss.").end();
    menu.x(10).lit("      - Strip width synthesis with Sensitivity Analysis.").end();
    show(menu);
    const std::int32_t ifunc = nearest_int(ask(6, "Program FUNCTION selected = "));
    if (ifunc > 0) b1.ifunc = ifunc;
    if (b1.ifunc > 2) b1.ifunc = 2;

    Layout heading;
    heading.end().x(6).lit("Please enter the following DIMENSIONAL DATA :").end();
    show(heading);

    float temp = ask(11, "-Stripline`s Ground Plane Spacing:   B,Inches = ");
    b2.b = d5.bdef;
    if (temp > 0.0f) b2.b = temp;

    temp = ask(11, "-Center Conductor`s Strip Thickness: T,Inches = ");
    b2.t = d5.tdef;
    if (temp > 0.0f) b2.t = temp;
    if (!(b2.t < b2.b)) b2.t = 0.0f;  // a strip at least as thick as B: zero thickness

    temp = ask(11, "-Substrate`s Relative Dielectric Constant: Er = ");
    b2.er = d5.erdef;
    if (temp >= 1.0f) b2.er = temp;

    temp = ask(11, "-Substrate`s Dielectric Loss Tangent: DLTAN   = ");
    b2.tlos = d5.tlosdef;
    if (temp > 0.0f) b2.tlos = temp;

    Layout res_menu;
    res_menu.x(11).lit("-Conductor Resistivity: RES, Micro-Ohm-cm:").end();
    res_menu.x(14).lit(" 1: Silver-plated: RES=1.6.").end();
    res_menu.x(14).lit("*2: Copper       : RES=1.7 (Default).").end();
    res_menu.x(14).lit(" 3: Gold-plated  : RES=2.5.").end();
    res_menu.x(14).lit(" 4: 6061 Aluminum: RES=4.0.").end();
    res_menu.x(14).lit(" 5: Brass        : RES=7.0.").end();
    res_menu.x(14).lit(" 6: Steel        : RES=11.8.").end();
    show(res_menu);
    b1.res1 = menu_entry(ro, nearest_int(ask(12, "Conductor Resistivity selected = ")), kRoDefault);
    b2.res = b1.res1 * 3.937008e-7f;  // micro-ohm-cm to ohm-inches

    Layout sr_menu;
    sr_menu.x(11).lit("-RMS Surface Roughness: SR, Micro-Inches:").end();
    sr_menu.x(14).lit(" 1: 10.0 micro-inch.").end();
    sr_menu.x(14).lit(" 2:  5.0 micro-inch.").end();
    sr_menu.x(14).lit("*3:  2.5 micro-inch (Default).").end();
    sr_menu.x(14).lit(" 4:  1.0 micro-inch.").end();
    sr_menu.x(14).lit(" 5:  0.0 micro-inch = Perfect.").end();
    show(sr_menu);
    b2.sr1 = menu_entry(rough, nearest_int(ask(12, "RMS Surface Roughness selected = ")),
                        kRoughDefault);
    b2.sr = b2.sr1 * 1e-6f;  // micro-inches to inches
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
    Layout lay;
    lay.end();
    lay.x(6).lit("Select one of the following Analysis OPTIONS:").end();
    lay.x(9).lit("*1: Frequency Analysis of Stripline with Loss (Default).").end();
    lay.x(9).lit(" 2: Sensitivity Analysis of Zo vs. Strip Widths.").end();
    show(lay);
    const std::int32_t itemp = nearest_int(ask(6, "Analysis OPTION selected = "));
    if (itemp > 0) s_.blk2.iop = itemp;
    if (s_.blk2.iop != 2) s_.blk2.iop = 1;
}

void Dialog::frequency_range() {
    auto& b2 = s_.blk2;
    const auto& d4 = s_.blk4;
    Layout lay;
    lay.end().x(6).lit("Please enter Frequency Range for Impedance ANALYSIS:").end();
    show(lay);

    float temp = ask(11, "-Analysis Start Frequency: Fstart, MHz = ");
    b2.fmin = d4.fmindef;
    if (temp > 0.0f) b2.fmin = temp;

    temp = ask(11, "-Analysis Stop  Frequency: Fstop , MHz = ");
    float fmax = d4.fmaxdef;
    if (temp > 0.0f) fmax = temp;
    if (b2.fmin > fmax) fmax = b2.fmin;

    temp = ask(11, "-Analysis Step  Frequency: Fstep , MHz = ");
    b2.fstep = d4.fstepdef;
    if (temp > 0.0f) b2.fstep = temp;

    s_.blk1.l = model::step_count(b2.fmin, fmax, b2.fstep);
}

void Dialog::guidance_widths() {
    const auto& b2 = s_.blk2;
    std::int32_t isyne = 0;
    float zotemp = 0.0f;
    float w1oo = 0.0f;
    textio::Text20 var = textio::Text20::from("");

    // The third guidance line shows the highest of 100..70 ohms that the
    // line can realise, else 60 ohms whatever its width.
    struct Try {
        float zo;
        const char* label;
    };
    constexpr Try tries[] = {{100.0f, "100"}, {90.0f, " 90"}, {80.0f, " 80"}, {70.0f, " 70"}};
    bool found = false;
    for (const Try& t : tries) {
        zotemp = t.zo;
        var = textio::Text20::from(t.label);
        model::slwb(b2.b, b2.er, isyne, b2.t, w1oo, zotemp);
        if (isyne == 0) {
            found = true;
            break;
        }
    }
    if (!found) {
        zotemp = 60.0f;
        var = textio::Text20::from(" 60");
        model::slwb(b2.b, b2.er, isyne, b2.t, w1oo, zotemp);
    }
    float w2o = 0.0f;
    float w5o = 0.0f;
    zotemp = 20.0f;
    model::slwb(b2.b, b2.er, isyne, b2.t, w2o, zotemp);
    zotemp = 50.0f;
    model::slwb(b2.b, b2.er, isyne, b2.t, w5o, zotemp);

    Layout lay;
    lay.end();
    lay.x(6).lit("Please enter one Strip Width for Frequency Analysis:").end();
    lay.x(11).lit("-For Zo = 20 Ohms, Strip Width =").f(7, 4, w2o).lit(" Inches.").end();
    lay.x(11).lit("-For Zo = 50 Ohms, Strip Width =").f(7, 4, w5o).lit(" Inches.").end();
    lay.x(11).lit("-For Zo =").a(3, var.view()).lit(" Ohms, Strip Width =").f(7, 4, w1oo)
        .lit(" Inches.").end();
    show(lay);

    const float temp = ask(11, "-Enter your Strip Width, Inches= ");
    s_.blk2.wdef = s_.blk5.wdefdef;
    if (temp > 0.0009f) s_.blk2.wdef = temp;
}

void Dialog::width_range() {
    auto& b1 = s_.blk1;
    const auto& d5 = s_.blk5;
    Layout lay;
    lay.end().x(6).lit("Please enter range of Strip Widths for Impedance ANALYSIS:").end();
    show(lay);

    float temp = ask(11, "-Minimum Strip Width: Wmin, Inches = ");
    b1.wmin = d5.wmindef;
    if (temp > 0.0009f) b1.wmin = temp;

    temp = ask(11, "-Maximum Strip Width: Wmax, Inches = ");
    float wmax = d5.wmaxdef;
    if (temp > 0.0009f) wmax = temp;
    if (b1.wmin > wmax) wmax = b1.wmin;

    temp = ask(11, "-Strip Step Size    : Wstep,Inches = ");
    b1.wstep = d5.wstepdef;
    if (temp > 0.0f) b1.wstep = temp;

    b1.l = model::step_count(b1.wmin, wmax, b1.wstep);
}

void Dialog::impedance_range() {
    auto& b1 = s_.blk1;
    const auto& b2 = s_.blk2;
    const auto& d4 = s_.blk4;
    Layout lay;
    lay.end().x(6).lit("Please enter range of Impedances for SYNTHESIS:").end();
    show(lay);

    bool ask_zmin = true;
    for (;;) {
        if (ask_zmin) {
            const float temp = ask(11, "-Minimum Impedance: Zmin, Ohms = ");
            b1.zmin = d4.zmindef;
            if (temp > 0.0f) b1.zmin = temp;
        }
        const float temp = ask(11, "-Maximum Impedance: Zmax, Ohms = ");
        b1.zmax = d4.zmaxdef;
        if (temp > 0.0f) b1.zmax = temp;
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
        msg.end();
        msg.x(6).lit("Your maximum Impedance: ").f(7, 3, b1.zmax)
            .lit(" Ohms results in a minimum Strip").end();
        msg.x(6).lit("Width < 0.001 inches, which is challenging to physically realize.").end();
        msg.x(6).lit("For a minimum Strip Width = 0.001 inches, Maximum Impedance =")
            .f(7, 3, zmax1).lit(" Ohms.").end();
        msg.x(6).lit("Please re-enter a Maximum Impedance below").f(7, 3, zmax1).lit(" Ohms.").end();
        msg.end();
        show(msg);
        // When even Zmin cannot be realised, no Zmax answer can pass: ask
        // Zmin again so the user can leave the loop.
        ask_zmin = zmax_is_zmin;
    }

    const float temp = ask(11, "-Zo Step Size     : Zstep,Ohms = ");
    b1.zstep = d4.zstepdef;
    if (temp > 0.0f) b1.zstep = temp;

    b1.l = model::step_count(b1.zmin, b1.zmax, b1.zstep);
}

void Dialog::synthesis_options() {
    auto& b2 = s_.blk2;
    Layout lay;
    lay.end();
    lay.x(6).lit("Select one of the following Synthesis OPTIONS:").end();
    lay.x(9).lit("*1: Strip Width Synthesis with Transmission Loss (Default).").end();
    lay.x(9).lit(" 2: Strip Width Synthesis with Sensitivity Analysis.").end();
    show(lay);
    const std::int32_t itemp = nearest_int(ask(6, "Synthesis OPTION selected = "));
    if (itemp > 0) b2.iop = itemp;
    if (b2.iop == 2) return;
    b2.iop = 1;
    const float temp = ask_after_line_end(6, "Enter Frequency where Insertion Loss is calculated, MHz = ");
    s_.blk1.fdef = s_.blk4.fdefdef;
    if (temp > 0.0f) s_.blk1.fdef = temp;
}

void Dialog::storage() {
    auto& b1 = s_.blk1;
    auto& b2 = s_.blk2;
    b1.istore = 0;
    const std::int32_t itemp = nearest_int(ask_after_line_end(6, "Is Output Data STORAGE desired? (1=YES) = "));
    if (itemp != 1) return;
    b1.istore = 1;
    Layout lay;
    lay.x(6).lit("Enter a FILENAME (up to 20 characters) for Output Data storage: ").end();
    lay.x(10).lit("-Enter: Filename.xls for storage in a spreadsheet").end();
    lay.x(10).lit("-Enter: Filename.doc for storage in a word processor").end();
    lay.x(10).lit("-Enter: Filename.txt for storage as a text document").end();
    show(lay);
    Layout prompt;
    prompt.x(11).lit("Enter your FILENAME for Output Data Storage: ");
    io_.console.prompt(prompt);
    b2.fn = b2.fndef;
    const textio::Text20 text = io_.console.read_text();
    if (!text.blank()) b2.fn = text;
}

}  // namespace

void slinput(run::DesignState& s, run::Session& io) { Dialog(s, io).run(); }

}  // namespace ferravane::input
