// A sweep's rows laid out as the tables print them (the Rows of
// run/sweeps.hpp). Each finished row goes to out.row(layout); the warning
// that ends a synthesis table goes to out.warning(layout).
#pragma once

#include "model/records.hpp"
#include "run/layouts.hpp"
#include "run/row_sink.hpp"
#include "textio/layout.hpp"

namespace ferravane::run {

template <TableOut Out>
class TableRows {
public:
    explicit TableRows(Out& out) : out_(out) {}

    void frequency(float f, const model::Sllos1& r) {
        lay_.clear();
        layouts::frequency_row(lay_, f, r);
        out_.row(lay_);
    }
    void synthesis_loss(float w, float wbyb, float zod, float tec, const model::Sllos1& r) {
        lay_.clear();
        layouts::synthesis_loss_row(lay_, w, wbyb, zod, tec, r);
        out_.row(lay_);
    }
    void sensitivity(float w, float wbyb, float zo, float tec, const model::Slsen1& r) {
        lay_.clear();
        layouts::sensitivity_row(lay_, w, wbyb, zo, tec, r);
        out_.row(lay_);
    }
    void unrealisable(float zo) {
        lay_.clear();
        layouts::width_warning(lay_, zo);
        out_.warning(lay_);
    }

private:
    Out& out_;
    textio::Layout lay_;
};

}  // namespace ferravane::run
