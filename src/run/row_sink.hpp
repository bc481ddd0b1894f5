// The two contracts between the sweeps, the row layouts and the outputs.
#pragma once

#include <concepts>

#include "model/records.hpp"
#include "textio/layout.hpp"

namespace ferravane::run {

// What receives the computed rows of a sweep: the printed table, or a
// benchmark that only counts them.
template <typename R>
concept RowSink = requires(R& rows, float v, const model::Sllos1& los, const model::Slsen1& sen) {
    rows.frequency(v, los);                   // f, then the losses
    rows.synthesis_loss(v, v, v, v, los);     // w, W/B, requested Zo, cutoff
    rows.sensitivity(v, v, v, v, sen);        // w, W/B, Zo, cutoff
    rows.unrealisable(v);                     // Zo as the width search left it
};

// Where a laid-out row goes: a table row to every output of the table, the
// width warning that ends a synthesis table to the console only.
template <typename O>
concept TableOut = requires(O& out, const textio::Layout& lay) {
    out.row(lay);
    out.warning(lay);
};

}  // namespace ferravane::run
