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

// The width for the impedance in zo, which the search may overwrite.
template <RowSink Rows>
bool width_for(const state::Blk2& b2, float& w, float& zo, Rows& rows) {
    std::int32_t isyne = 0;
    model::slwb(b2.b, b2.er, isyne, b2.t, w, zo);
    if (isyne == 0) return true;
    rows.unrealisable(zo);
    return false;
}

// The frequency sweep of the strip w whose impedance is zo.
template <RowSink Rows>
void frequency_rows(state::DesignState& s, float w, float zo, Rows& rows) {
    const state::Blk2& b2 = s.blk2;
    const std::int64_t l = s.blk1.l;
    for (std::int64_t il = 0; il <= l; ++il) {
        const float f = model::sweep_point(il, b2.fstep, b2.fmin);
        model::sllos(b2.b, b2.er, f, b2.res, b2.sr, b2.t, b2.tlos, w, zo, s.sllos1, s.slsen1);
        rows.frequency(f, s.sllos1);
    }
}

// The impedance sweep with the loss at the frequency fdef.
template <RowSink Rows>
void synthesis_loss_rows(state::DesignState& s, Rows& rows) {
    const state::Blk1& b1 = s.blk1;
    const state::Blk2& b2 = s.blk2;
    const float f = b1.fdef;
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
        if (!width_for(b2, w, zo, rows)) return;
        zo = zod;
        model::sllos(b2.b, b2.er, f, b2.res, b2.sr, b2.t, b2.tlos, w, zo, s.sllos1, s.slsen1);
        float tec = 0.0f;
        float wbyb = 0.0f;
        model::slmode(b2.b, b2.er, b2.t, tec, w, wbyb);
        zo = zod;
        rows.synthesis_loss(w, wbyb, zod, tec, s.sllos1);
    }
}

// The width sweep (analysis) or impedance sweep (synthesis) with the
// sensitivities of Zo.
template <RowSink Rows>
void sensitivity_rows(state::DesignState& s, Rows& rows) {
    const state::Blk1& b1 = s.blk1;
    const state::Blk2& b2 = s.blk2;
    const bool synthesis = b1.ifunc == 2;
    float w = b2.wdef;
    float zo = 0.0f;
    const std::int64_t l = b1.l;
    for (std::int64_t il = 0; il <= l; ++il) {
        if (!synthesis) {
            w = model::sweep_point(il, b1.wstep, b1.wmin);
            model::slzo(b2.b, b2.er, b2.t, w, zo);
        } else {
            zo = model::sweep_point(il, b1.zstep, b1.zmin);
            const float zod = zo;
            if (!width_for(b2, w, zo, rows)) return;
            zo = zod;
        }
        model::slsen(b2.b, b2.er, b2.t, w, zo, s.slsen1);
        float tec = 0.0f;
        float wbyb = 0.0f;
        model::slmode(b2.b, b2.er, b2.t, tec, w, wbyb);
        rows.sensitivity(w, wbyb, zo, tec, s.slsen1);
    }
}

}  // namespace ferravane::run::sweeps
