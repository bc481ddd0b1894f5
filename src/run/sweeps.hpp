// The row loops of the three table kinds, apart from what becomes of a row
// (a RowSink): the program prints it, the throughput benchmark runs the very
// same sweep without output. Every row comes whole from the row engine.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <span>

#include "engine/engine.hpp"
#include "model/sweep.hpp"
#include "run/row_sink.hpp"
#include "state/design_state.hpp"

namespace ferravane::run::sweeps {

// The line the design state describes.
inline engine::Line line_of(const state::Blk2& b2) {
    engine::Line l;
    l.b = b2.b;
    l.t = b2.t;
    l.er = b2.er;
    l.tlos = b2.tlos;
    l.res = b2.res;
    l.sr = b2.sr;
    return l;
}

// The frequency sweep of the strip w: one strip, its loss at every
// frequency.
template <RowSink Rows>
void frequency_rows(const state::DesignState& s, float w, Rows& rows) {
    const state::Blk2& b2 = s.blk2;
    engine::LineRows line(line_of(b2));
    engine::Row row;
    row.strip = line.of_width(w);
    row.zo = row.strip.zo;
    for (std::int64_t il = 0; il <= s.blk1.l; ++il) {
        const float f = model::sweep_point(il, b2.fstep, b2.fmin);
        line.loss_at(row, f);
        rows.frequency(row);
    }
}

// The impedance sweep with the loss at the frequency fdef. The impedance
// accumulates step by step, with the rounding of each addition, and the
// search is for the impedance clamped to the range's end; the row shows
// the impedance before the clamp. A strip that cannot be realised ends
// the table.
template <RowSink Rows>
void synthesis_loss_rows(const state::DesignState& s, Rows& rows) {
    const state::Blk1& b1 = s.blk1;
    engine::LineRows line(line_of(s.blk2));
    engine::Row row;
    auto clamped = [&](float z) { return z > b1.zmax ? b1.zmax : z; };
    float zo = b1.zmin - b1.zstep;
    // Rows: the whole steps in the range with a tolerance of a tenth of a
    // step, counting the start.
    const std::int64_t istep =
        static_cast<std::int64_t>(model::step_count(b1.zmin, b1.zmax, b1.zstep, model::kRowTolerance)) + 1;
    for (std::int64_t izo = 1; izo <= istep; ++izo) {
        zo = zo + b1.zstep;
        row.zo = zo;
        // The next rows' impedances, found side by side with this one's.
        float next[engine::kAhead];
        std::size_t ahead = 0;
        for (float z = zo; ahead < std::size(next) && izo + static_cast<std::int64_t>(ahead) < istep; ++ahead) {
            z = z + b1.zstep;
            next[ahead] = clamped(z);
        }
        row.strip = line.for_impedance(clamped(zo), std::span<const float>(next, ahead));
        if (!row.strip.realised) return rows.unrealisable(row);
        line.loss_at(row, b1.fdef);
        rows.synthesis_loss(row);
    }
}

// The width sweep (analysis) or impedance sweep (synthesis) with the
// sensitivities of Zo.
template <RowSink Rows>
void sensitivity_rows(const state::DesignState& s, Rows& rows) {
    const state::Blk1& b1 = s.blk1;
    const bool synthesis = b1.ifunc == 2;
    engine::LineRows line(line_of(s.blk2), {.sensitivities = true});
    engine::Row row;
    // The impedances of this row and the next ones, which the engine may
    // find ahead: window[i] is point il + i, each computed once.
    float window[engine::kAhead + 1];
    std::size_t held = 0;
    for (std::int64_t il = 0; il <= b1.l; ++il) {
        if (synthesis) {
            for (; held < std::size(window) && il + static_cast<std::int64_t>(held) <= b1.l; ++held) {
                window[held] = model::sweep_point(il + static_cast<std::int64_t>(held), b1.zstep, b1.zmin);
            }
            row.zo = window[0];
            row.strip = line.for_impedance(row.zo, std::span<const float>(window + 1, held - 1));
            if (!row.strip.realised) return rows.unrealisable(row);
            std::copy(window + 1, window + held, window);
            --held;
        } else {
            row.strip = line.of_width(model::sweep_point(il, b1.wstep, b1.wmin));
            row.zo = row.strip.zo;
        }
        rows.sensitivity(row);
    }
}

}  // namespace ferravane::run::sweeps
