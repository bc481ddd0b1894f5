// A sweep's rows laid out as the tables print them (the Rows of
// run/sweeps.hpp). Each finished row goes to out.row(layout); the warning
// that ends a synthesis table goes to out.warning(layout).
#pragma once

#include "engine/engine.hpp"
#include "run/layouts.hpp"
#include "run/row_sink.hpp"
#include "textio/layout.hpp"

namespace ferravane::run {

template <TableOut Out>
class TableRows {
public:
    explicit TableRows(Out& out) : out_(out) {}

    void frequency(const engine::Row& row) { put(&layouts::frequency_row, row); }
    void synthesis_loss(const engine::Row& row) { put(&layouts::synthesis_loss_row, row); }
    void sensitivity(const engine::Row& row) { put(&layouts::sensitivity_row, row); }
    void unrealisable(const engine::Row& row) {
        lay_.clear();
        layouts::width_warning(lay_, row.strip.zo);
        out_.warning(lay_);
    }

private:
    void put(void (*layout)(textio::Layout&, const engine::Row&), const engine::Row& row) {
        lay_.clear();
        layout(lay_, row);
        out_.row(lay_);
    }

    Out& out_;
    textio::Layout lay_;
};

}  // namespace ferravane::run
