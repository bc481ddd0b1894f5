// The design state: the named records shared by the dialog, the driver and
// the report layouts. One instance per run, owned by the driver.
#pragma once

#include <cstdint>

#include "model/records.hpp"
#include "textio/text20.hpp"

namespace ferravane::state {

using textio::Text20;

// Program function, synthesis and width ranges, step count, storage flag.
struct Blk1 {
    std::int32_t ifunc = 0;  // 1 ANALYSIS, 2 SYNTHESIS
    float zmin = 0.0f;       // ohms
    float zmax = 0.0f;       // ohms, never below zmin
    float zstep = 0.0f;      // ohms
    float wmin = 0.0f;       // inches
    float wstep = 0.0f;      // inches
    std::int32_t l = 0;      // steps of the current sweep: points 0..l
    float fdef = 0.0f;       // MHz, loss frequency of the synthesis
    std::int32_t istore = 0; // 1: the table also goes to the report file
    float res1 = 0.0f;       // micro-ohm-cm, as chosen
};

// Line geometry and materials, option, frequency sweep, selector, names.
struct Blk2 {
    float b = 0.0f;          // ground-plane spacing, inches
    float t = 0.0f;          // strip thickness, inches
    float er = 0.0f;         // relative dielectric constant
    float sr = 0.0f;         // RMS roughness, inches (sr1 * 1e-6)
    float res = 0.0f;        // resistivity, ohm-inches (res1 * 3.937008e-7)
    float tlos = 0.0f;       // dielectric loss tangent
    float wdef = 0.0f;       // strip width of the frequency analysis, inches
    std::int32_t iop = 0;    // 1 with loss, 2 with sensitivity
    float fmin = 0.0f;       // MHz
    float fstep = 0.0f;      // MHz
    std::int32_t isel = 0;   // entry kind / operation selector
    float sr1 = 0.0f;        // RMS roughness, micro-inches, as chosen
    Text20 fn = Text20::from("");     // report file of the current table
    Text20 fndef = Text20::from("");  // default report file name
};

// The run's timestamp, taken once.
struct Blk3 {
    std::int32_t imon = 0, iday = 0, iyr = 0, ihr = 0, imin = 0, isec = 0;
};

// Default copies of the frequency and impedance ranges (from the file).
struct Blk4 {
    float fdefdef = 0.0f, fmaxdef = 0.0f, fmindef = 0.0f, fstepdef = 0.0f;
    float zmaxdef = 0.0f, zmindef = 0.0f, zstepdef = 0.0f;
};

// Default copies of materials, geometry and widths (from the file).
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
    model::Sllos1 sllos1;
    model::Slsen1 slsen1;
};

}  // namespace ferravane::state
