// The design state: the named records shared by the dialog, the driver and
// the report layouts. One instance per run, owned by the driver.
//
// The names are short; here is the key. Blk1 to Blk5 are blocks of related
// values (Blk4 and Blk5 hold the defaults file's); the result records of the
// loss (sllos1) and sensitivity (slsen1) routines are each row's own, in
// the row the engine gives (engine/engine.hpp), not part of this state. A
// name that ends in "def" is the defaults file's value of the field without
// it (bdef for b), which a blank or refused answer takes; fdef and wdef are
// fields of their own, so their file values are fdefdef and wdefdef. A
// leading i marks an integer (a code, or a part of the date); z, w and f
// begin impedances, widths and frequencies.
#pragma once

#include <cstdint>

#include "model/records.hpp"
#include "textio/text20.hpp"

namespace ferravane::state {

using textio::Text20;

// What to compute: the function, the sweeps' ranges, storage, and the
// resistivity as chosen.
struct Blk1 {
    // 1 ANALYSIS (Zo from widths), 2 SYNTHESIS (widths from Zo). Set to 2
    // before the question: an answer of 0 or less leaves 2, one above 2
    // gives 2.
    std::int32_t ifunc = 0;
    float zmin = 0.0f;       // ohms, first impedance of the synthesis
    float zmax = 0.0f;       // ohms, last impedance, never below zmin
    float zstep = 0.0f;      // ohms
    float wmin = 0.0f;       // inches, first width of the width sweep
    float wstep = 0.0f;      // inches
    // The last row index of the frequency, width or sensitivity impedance
    // sweep: rows 0..l, none when negative (INT32_MIN when the count does
    // not fit). The synthesis with loss counts its own rows.
    std::int32_t l = 0;
    float fdef = 0.0f;       // MHz, where the synthesis with loss takes its loss
    std::int32_t istore = 0; // 1: the table also goes to the report file fn; else 0
    float res1 = 0.0f;       // conductor resistivity, micro-ohm-cm, as chosen
};

// The line, the option, the frequency sweep, where the dialog starts, names.
struct Blk2 {
    float b = 0.0f;          // ground-plane spacing, inches
    float t = 0.0f;          // strip thickness, inches; 0 for one not below b
    float er = 0.0f;         // relative dielectric constant
    float sr = 0.0f;         // RMS roughness, inches (sr1 * 1e-6)
    float res = 0.0f;        // resistivity, ohm-inches (res1 * 3.937008e-7)
    float tlos = 0.0f;       // dielectric loss tangent
    float wdef = 0.0f;       // strip width of the frequency analysis, inches
    // The option of the function, shown as "(OPTION n)": 1 with loss (the
    // frequency sweep of width wdef, or the impedance sweep with the loss
    // at fdef), 2 with sensitivity (the width or impedance sweep with the
    // sensitivities of Zo). 1 unless 2 is answered.
    std::int32_t iop = 0;
    float fmin = 0.0f;       // MHz, first frequency of the frequency sweep
    float fstep = 0.0f;      // MHz
    // Where the next dialog starts, from the operation menu: 0 the first
    // entry (defaults file, clock, banner, every question), 1 a new option
    // for the same line (ranges on), 2 a new line (function and design data
    // on); 3 or more ends the run, and so does 0 or less, which becomes 3.
    // -1: the defaults file has a missing or faulty record, the run ends.
    std::int32_t isel = 0;
    float sr1 = 0.0f;        // RMS roughness, micro-inches, as chosen
    Text20 fn = Text20::from("");     // report file of the current table
    Text20 fndef = Text20::from("");  // the file's report name, taken by a blank answer
};

// The local date and time of the run, taken once at the first entry and
// shown in the banner and in every table's run header.
struct Blk3 {
    std::int32_t imon = 0, iday = 0, iyr = 0, ihr = 0, imin = 0, isec = 0;
};

// The defaults file's frequencies and impedances: fdefdef for fdef (F),
// fmaxdef, fmindef and fstepdef for the frequency sweep (FMAX, FMIN,
// FSTEP), zmaxdef, zmindef and zstepdef for the impedance sweep.
struct Blk4 {
    float fdefdef = 0.0f, fmaxdef = 0.0f, fmindef = 0.0f, fstepdef = 0.0f;
    float zmaxdef = 0.0f, zmindef = 0.0f, zstepdef = 0.0f;
};

// The defaults file's line and widths: erdef, bdef, tdef, tlosdef, wdefdef
// for wdef (W), and wmaxdef, wmindef, wstepdef for the width sweep.
// res1def and sr1def stay 0: the two material menus have fixed defaults.
struct Blk5 {
    float res1def = 0.0f, sr1def = 0.0f, erdef = 0.0f, bdef = 0.0f, tdef = 0.0f;
    float tlosdef = 0.0f, wdefdef = 0.0f, wmaxdef = 0.0f, wmindef = 0.0f, wstepdef = 0.0f;
};

struct DesignState {
    Blk1 blk1;
    Blk2 blk2;
    Blk3 blk3;
    Blk4 blk4;
    Blk5 blk5;
};

}  // namespace ferravane::state
