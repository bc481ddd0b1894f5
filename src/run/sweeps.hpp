// The row loops of the three table kinds, apart from what becomes of a row
// (a RowSink): the program prints it, the throughput benchmark runs the very
// same sweep without output.
#pragma once

#include <cstdint>

#include "model/model.hpp"
#include "model/sweep.hpp"
#include "run/row_sink.hpp"
#include "state/design_state.hpp"

namespace ferravane::run::sweeps {

// The width for the impedance in zo, which the search may overwrite (slwb),
// and the impedance of that width.
template <RowSink Rows>
bool width_for(const state::Blk2& b2, float& w, float& zo, model::WidthImpedance& of_w, Rows& rows) {
    std::int32_t isyne = 0;
    model::slwb_and_zo(b2.b, b2.er, isyne, b2.t, w, zo, of_w);
    if (isyne == 0) return true;
    rows.unrealisable(zo);
    return false;
}

// The frequency sweep of the strip w. Each row is sllos (whose impedance
// argument is only scratch); its part that depends on the line alone is
// computed once, the rest per frequency.
template <RowSink Rows>
void frequency_rows(state::DesignState& s, float w, Rows& rows) {
    const state::Blk2& b2 = s.blk2;
    const std::int64_t l = s.blk1.l;
    model::LossOfLine line;
    if (b2.res != 0.0f && l >= 0) line = model::sllos_line(b2.b, b2.er, b2.t, w);
    for (std::int64_t il = 0; il <= l; ++il) {
        const float f = model::sweep_point(il, b2.fstep, b2.fmin);
        const model::LossAtFrequency at = model::sllos_frequency(b2.er, f, b2.res, b2.sr, b2.tlos);
        model::sllos_combine(at, line, s.sllos1, s.slsen1);
        rows.frequency(f, s.sllos1);
    }
}

// The impedance sweep with the loss at the frequency fdef. Each row's
// sllos is the part that depends on the frequency, computed once, and the
// part of the row's line, whose air-filled impedance comes from the
// geometry the width search ends on.
template <RowSink Rows>
void synthesis_loss_rows(state::DesignState& s, Rows& rows) {
    const state::Blk1& b1 = s.blk1;
    const state::Blk2& b2 = s.blk2;
    const model::LossAtFrequency at = model::sllos_frequency(b2.er, b1.fdef, b2.res, b2.sr, b2.tlos);
    float w = b2.wdef;
    float zo = b1.zmin - b1.zstep;
    // Rows: the whole steps in the range with a tolerance of a tenth of a
    // step, counting the start.
    const std::int64_t istep =
        static_cast<std::int64_t>(model::step_count(b1.zmin, b1.zmax, b1.zstep, model::kRowTolerance)) + 1;
    for (std::int64_t izo = 1; izo <= istep; ++izo) {
        zo = zo + b1.zstep;  // accumulated, with the rounding of each addition
        const float zod = zo;
        if (zo > b1.zmax) zo = b1.zmax;
        model::WidthImpedance of_w;
        if (!width_for(b2, w, zo, of_w, rows)) return;
        zo = zod;
        model::LossOfLine line;
        if (at.conductor) {
            line = model::sllos_line_from_air_zo(b2.b, b2.er, b2.t, w,
                                                 model::slzo_in(of_w.geometry, 1.0f));
        }
        model::sllos_combine(at, line, s.sllos1, s.slsen1);
        float tec = 0.0f;
        float wbyb = 0.0f;
        model::slmode(b2.b, b2.er, b2.t, tec, w, wbyb);
        rows.synthesis_loss(w, wbyb, zod, tec, s.sllos1);
    }
}

// The width sweep (analysis) or impedance sweep (synthesis) with the
// sensitivities of Zo. slsen starts from the impedance of the row's width
// already at hand: the row's slzo, or the one the width search gives.
template <RowSink Rows>
void sensitivity_rows(state::DesignState& s, Rows& rows) {
    const state::Blk1& b1 = s.blk1;
    const state::Blk2& b2 = s.blk2;
    const bool synthesis = b1.ifunc == 2;
    float w = b2.wdef;
    float zo = 0.0f;
    model::WidthImpedance of_w;
    const std::int64_t l = b1.l;
    for (std::int64_t il = 0; il <= l; ++il) {
        if (!synthesis) {
            w = model::sweep_point(il, b1.wstep, b1.wmin);
            model::slzo(b2.b, b2.er, b2.t, w, zo);
            of_w.zo = zo;
        } else {
            zo = model::sweep_point(il, b1.zstep, b1.zmin);
            const float zod = zo;
            if (!width_for(b2, w, zo, of_w, rows)) return;
            zo = zod;
        }
        model::slsen_from_zo(b2.b, b2.er, b2.t, w, of_w.zo, s.slsen1);
        float tec = 0.0f;
        float wbyb = 0.0f;
        model::slmode(b2.b, b2.er, b2.t, tec, w, wbyb);
        rows.sensitivity(w, wbyb, zo, tec, s.slsen1);
    }
}

}  // namespace ferravane::run::sweeps
