#include "run/layouts.hpp"

#include "state/program.hpp"

namespace ferravane::run::layouts {
namespace {

constexpr const char* kQuote = "\"";

// The title of a header block and the blanks that keep the right-hand
// column (roughness, resistivity, option, loss tangent) in place.
struct HeaderTitle {
    const char* title;
    int blanks_before;     // after the B value's inch mark
    int blanks_after;      // before "SR ="
    int underline;         // equals signs under the title
    int underline_before;  // after the Er value
    int underline_after;   // before "RES ="
};

constexpr HeaderTitle kAnalysisTitle{.title = "Impedance Analysis",
                                     .blanks_before = 8,
                                     .blanks_after = 10,
                                     .underline = 20,
                                     .underline_before = 10,
                                     .underline_after = 8};
constexpr HeaderTitle kSynthesisTitle{.title = "Strip Width Synthesis",
                                      .blanks_before = 6,
                                      .blanks_after = 9,
                                      .underline = 23,
                                      .underline_before = 8,
                                      .underline_after = 7};

void header_lines(Layout& lay, const state::DesignState& s, const HeaderTitle& h) {
    const state::Blk2& b2 = s.blk2;
    lay.end();
    lay.x(11).lit("B  =").f(9, 4, b2.b).lit(kQuote).x(h.blanks_before).lit(h.title)
        .x(h.blanks_after).lit("SR =").f(8, 3, b2.sr1).lit(" u").lit(kQuote).end();
    lay.x(11).lit("Er =").f(7, 2, b2.er).x(h.underline_before).rep(h.underline, '=')
        .x(h.underline_after).lit("RES =").f(8, 3, s.blk1.res1).end();
    lay.x(11).lit("T  =").f(9, 4, b2.t).lit(kQuote).x(12).lit("(OPTION ").i(1, b2.iop).lit(")")
        .x(11).lit("DLTAN =").f(9, 5, b2.tlos).end();
}

}  // namespace

void run_header(Layout& lay, const state::Blk3& d) {
    lay.end();
    lay.x(6).rep(72, '-').end();
    lay.x(8).lit(state::kProgramTitle).x(20).lit("Date:").i(2, d.imon).lit("/").i(2, d.iday)
        .lit("/").i(4, d.iyr).lit(" at ").i(2, d.ihr).lit(":").i(2, d.imin).lit(":")
        .i(2, d.isec).lit("Hours").end();
    lay.x(14).lit(state::kMakerLine).end();
    lay.x(16).lit(" RF/Microwave Computer-Aided Engineering Design Data").end();
    lay.x(16).lit("    for Single-Strip Stripline Transmission Lines.").end();
}

void analysis_header(Layout& lay, const state::DesignState& s) {
    header_lines(lay, s, kAnalysisTitle);
}

void synthesis_header(Layout& lay, const state::DesignState& s) {
    header_lines(lay, s, kSynthesisTitle);
}

void width_line(Layout& lay, float w, float wbtemp, float tbtemp, float zo) {
    lay.x(11).lit("W  =").f(9, 4, w).lit(kQuote).lit("   W/B =").f(7, 4, wbtemp)
        .lit("    T/B =").f(7, 4, tbtemp).lit("     Zo =").f(7, 2, zo).lit(" Ohms").end();
}

void frequency_table_header(Layout& lay) {
    lay.end();
    lay.x(12).lit("        Wavelengths:               Transmission Loss, dB/Inch").end();
    lay.x(12).lit("        Free-                      --------------------------").end();
    lay.x(12).lit("Freq    Space  ").lit(kQuote).lit("Guide").lit(kQuote)
        .lit("   Unloaded   Conduc.  Dielec.   Total").end();
    lay.x(12).lit("(MHz) (Inches) (Inches)     Q        Loss     Loss     Loss").end();
    lay.x(11).rep(62, '-').end();
}

void frequency_row(Layout& lay, const engine::Row& row) {
    const model::Sllos1& r = row.loss;
    lay.row().x(10).f<7, 1>(*row.f).x(1).f<7, 3>(r.wl).x(2).f<7, 3>(r.wg).x(1).f<9, 1>(r.qu).x(1)
        .x(1).f<8, 4>(-r.ac).x(1).f<8, 4>(-r.ad)
        .x(1).f<8, 4>(-r.atot).end();
}

void cutoff_line(Layout& lay, float tec) {
    lay.end();
    lay.x(11).lit("TE11 Cutoff Frequency = ").f(8, 2, tec).lit(" GHz.").end();
}

void loss_table_header(Layout& lay, float f) {
    lay.end();
    lay.lit("                                       Transmission Loss at ").f(7, 1, f)
        .lit(" MHz (dB/In)").end();
    lay.x(7).lit(" Strip          Impedance  TE11 ---------------------------------------").end();
    lay.x(7).lit(" Width:W   W/B      Zo    Cutoff Unloaded   Conduc.  Dielec.  Total").end();
    lay.x(7).lit("(Inches)          (Ohms)   (GHz)    Q        Loss     Loss    Loss").end();
    lay.x(6).rep(72, '-').end();
}

void synthesis_loss_row(Layout& lay, const engine::Row& row) {
    const engine::Strip& s = row.strip;
    const model::Sllos1& r = row.loss;
    lay.row().x(6).f<8, 4>(s.w).f<8, 4>(s.wbyb).x(1).f<8, 2>(row.zo).f<8, 2>(s.tec).f<8, 1>(r.qu).x(1)
        .f<9, 4>(-r.ac).f<9, 4>(-r.ad).f<9, 4>(-r.atot).end();
}

void sensitivity_table_header(Layout& lay) {
    lay.end();
    lay.x(45).lit("Sensitivity of Impedance to:").end();
    lay.x(8).lit("Strip           Impedance  TE11").x(3).rep(36, '-').end();
    lay.x(8).lit("Width:W   W/B      Zo     Cutoff   Ground  Dielec.   Strip").lit("    Strip").end();
    lay.x(7).lit("(Inches)          (Ohms)    (GHz)   Plane   Constant  Width").lit("  Thickness")
        .end();
    lay.x(6).rep(72, '-').end();
}

void sensitivity_row(Layout& lay, const engine::Row& row) {
    const engine::Strip& s = row.strip;
    const model::Slsen1& r = s.sen;
    lay.row().x(6).f<8, 4>(s.w).f<8, 4>(s.wbyb).x(1).f<8, 2>(row.zo).x(1).f<8, 2>(s.tec).f<8, 3>(r.szob).x(2)
        .f<7, 3>(r.szoer).x(1).f<8, 3>(r.szow).x(1).f<8, 3>(r.szot).end();
}

void width_warning(Layout& lay, float zo) {
    lay.end();
    lay.x(6).lit("For Zo =").f(7, 2, zo).lit(" Ohms, Strip Width: W < 0.001 inches, which is").end();
    lay.x(6).lit("challenging to physically realize and causes Program: Ferravane").end();
    lay.x(6).lit("to terminate operation.").end();
}

void closing_rule(Layout& lay) { lay.x(6).rep(72, '-').end(); }

void storage_line(Layout& lay, const textio::Text20& fn) {
    lay.x(6).lit("Output Data stored in User filename: ").a(20, fn.view()).end();
}

void operation_menu(Layout& lay) {
    lay.x(6).lit("Stripline calculations completed.").lit(" Select next OPERATION:").end();
    lay.x(9).lit(" 1: Select a new OPTION for your Stripline Design.").end();
    lay.x(9).lit(" 2: Design a NEW Stripline Transmission Line.").end();
    lay.x(9).lit("*3: EXIT to operating system (Default).").end();
}

void operation_prompt(Layout& lay) { lay.x(6).lit("OPERATION selected = "); }

}  // namespace ferravane::run::layouts
