// The two contracts between the sweeps, the row layouts and the outputs.
#pragma once

#include <concepts>

#include "engine/engine.hpp"
#include "textio/layout.hpp"

namespace ferravane::run {

// What receives the computed rows of a sweep: the printed table, or a
// benchmark that only counts them.
template <typename R>
concept RowSink = requires(R& rows, const engine::Row& row) {
    rows.frequency(row);       // f and the loss
    rows.synthesis_loss(row);  // the strip, the impedance asked for and the loss
    rows.sensitivity(row);     // the strip, its impedance and sensitivities
    rows.unrealisable(row);    // the impedance the width search was left with
};

// Where a laid-out row goes: a table row to every output of the table, the
// width warning that ends a synthesis table to the console only.
template <typename O>
concept TableOut = requires(O& out, const textio::Layout& lay) {
    out.row(lay);
    out.warning(lay);
};

}  // namespace ferravane::run
