#include "cli/rows.hpp"

#include <cmath>
#include <initializer_list>

#include "model/model.hpp"

namespace ferravane::cli {
namespace {

bool finite(std::initializer_list<float> values) {
    for (const float v : values) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

// The status of a row that has faults a and b: the first in Status's order.
Status worse(Status a, Status b) {
    if (a == Status::ok) return b;
    if (b == Status::ok) return a;
    return a < b ? a : b;
}

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
        const Status of_strip = row.status;
        return req_.freqs->for_each([&](float f) {
            row.f = f;
            row.status = of_strip;
            if (realised) {
                model::Slsen1 scratch;  // sllos overwrites it; the row keeps slsen's own
                model::sllos_combine(model::sllos_frequency(l.er, f, l.res, l.sr, l.tlos), line,
                                     row.loss, scratch);
                const model::Sllos1& s = row.loss;
                if (!finite({s.ac, s.ad, s.atot, s.qu, s.wg, s.wl})) {
                    row.status = worse(row.status, Status::not_finite);
                }
            }
            return send(row);
        });
    }

    // Sensitivities, cutoff and tolerance window of the strip w, whose
    // impedance is z_strip, and what they make of the row's status. Only a
    // window that is one (finite, above 0 ohm) is kept.
    void describe(Row& row, float z_strip) const {
        const Line& l = req_.line;
        model::slsen_from_zo(l.b, l.er, l.t, row.w, z_strip, row.sen);
        model::slmode(l.b, l.er, l.t, row.tec, row.w, row.wbyb);
        const model::Slsen1& s = row.sen;
        if (!finite({row.w, row.wbyb, row.zo, row.tec, s.szob, s.szoer, s.szow, s.szot, z_strip})) {
            row.status = worse(row.status, Status::not_finite);
        }
        if (!req_.tol.any()) return;
        row.window = zo_window(l.b, l.er, l.t, row.w, z_strip, row.sen, req_.tol);
        const std::optional<Window>& w = row.window;
        Status fault = Status::ok;
        if (!w) {
            fault = Status::tolerance_too_wide;
        } else if (!finite({w->lin_min, w->lin_max, w->rss_min, w->rss_max, w->min, w->max})) {
            fault = Status::not_finite;
        } else if (!(w->lin_min > 0.0f && w->rss_min > 0.0f && w->min > 0.0f)) {
            fault = Status::window_reaches_zero;
        }
        if (fault != Status::ok) row.window.reset();
        row.status = worse(row.status, fault);
    }

    Totals totals;

private:
    bool send(const Row& row) {
        ++totals.rows;
        ++totals.by_status[static_cast<std::size_t>(row.status)];
        // w holds the width the search gave up on.
        if (row.status == Status::unrealisable && std::isfinite(row.w) && row.w < model::kMinWidth) {
            ++totals.too_narrow;
        }
        return sink_(row);
    }

    const Request& req_;
    const std::function<bool(const Row&)>& sink_;
};

}  // namespace

Totals compute_rows(const Request& req, const std::function<bool(const Row&)>& sink) {
    RowRun run(req, sink);
    const Line& l = req.line;
    req.values.for_each([&](float value) {
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
                // Sensitivities and window are about the strip drawn. The
                // search's own test of its result: the zero-thickness forms
                // stop at their widest strip whatever the target.
                geometry = of_w.geometry;
                row.zo_realised = of_w.zo;
                if (!(std::fabs(value - of_w.zo) < 0.001f * value)) row.status = Status::off_target;
                run.describe(row, of_w.zo);
            }
        }
        return run.emit(row, geometry);
    });
    return run.totals;
}

}  // namespace ferravane::cli
