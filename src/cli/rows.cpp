#include "cli/rows.hpp"

#include "model/model.hpp"

namespace ferravane::cli {
namespace {

class RowRun {
public:
    RowRun(const Request& req, const std::function<bool(const Row&)>& sink) : req_(req), sink_(sink) {}

    // The rows of one strip, whose geometry is g: one, or one per
    // frequency. The part of the loss that depends on the strip alone is
    // computed once for it, from the strip's air-filled impedance.
    bool emit(Row& row, const model::ZoGeometry& g) {
        if (!req_.freqs) return send(row);
        const Line& l = req_.line;
        const bool realised = row.status != Status::unrealisable;
        model::LossOfLine line;
        if (realised && l.res != 0.0f) {
            line = model::sllos_line_from_air_zo(l.b, l.er, l.t, row.w, model::slzo_in(g, 1.0f));
        }
        bool go_on = true;
        req_.freqs->for_each([&](float f) {
            if (!go_on) return;
            row.f = f;
            if (realised) {
                model::Slsen1 scratch;  // sllos overwrites it; the row keeps slsen's own
                model::sllos_combine(model::sllos_frequency(l.er, f, l.res, l.sr, l.tlos), line,
                                     row.loss, scratch);
            }
            go_on = send(row);
        });
        return go_on;
    }

    // Sensitivities, cutoff and tolerance window of the strip w, whose
    // impedance is z_strip.
    void describe(Row& row, float z_strip) const {
        const Line& l = req_.line;
        model::slsen_from_zo(l.b, l.er, l.t, row.w, z_strip, row.sen);
        model::slmode(l.b, l.er, l.t, row.tec, row.w, row.wbyb);
        if (req_.tol.any()) {
            row.window = zo_window(l.b, l.er, l.t, row.w, z_strip, row.sen, req_.tol);
            if (!row.window) row.status = Status::tolerance_too_wide;
        }
    }

    Totals totals;

private:
    bool send(const Row& row) {
        ++totals.rows;
        if (row.status == Status::unrealisable) ++totals.unrealisable;
        if (row.status == Status::tolerance_too_wide) ++totals.tolerance_too_wide;
        return sink_(row);
    }

    const Request& req_;
    const std::function<bool(const Row&)>& sink_;
};

}  // namespace

Totals compute_rows(const Request& req, const std::function<bool(const Row&)>& sink) {
    RowRun run(req, sink);
    const Line& l = req.line;
    bool go_on = true;
    req.values.for_each([&](float value) {
        if (!go_on) return;
        Row row;
        model::ZoGeometry geometry;
        if (req.command == Command::analyze) {
            row.w = value;
            geometry = model::slzo_geometry(l.b, l.t, row.w);
            row.zo = model::slzo_in(geometry, l.er);
            run.describe(row, row.zo);
        } else {
            row.zo = value;
            float target = value;  // slwb may leave another impedance in it
            std::int32_t isyne = 0;
            model::WidthImpedance of_w;
            model::slwb_and_zo(l.b, l.er, isyne, l.t, row.w, target, of_w);
            if (isyne != 0) {
                row.status = Status::unrealisable;
            } else {
                // Sensitivities and window are about the strip drawn, whose
                // impedance is within 0.1 % of the target.
                geometry = of_w.geometry;
                run.describe(row, of_w.zo);
            }
        }
        go_on = run.emit(row, geometry);
    });
    return run.totals;
}

}  // namespace ferravane::cli
