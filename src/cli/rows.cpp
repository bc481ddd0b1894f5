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

engine::Line line_of(const Line& l) { return engine::Line{l.b, l.t, l.er, l.tlos, l.res, l.sr}; }

class RowRun {
public:
    RowRun(const Request& req, const std::function<bool(const Row&)>& sink)
        : req_(req), sink_(sink), line_(line_of(req.line), {.sensitivities = true}) {}

    // The row of the width or impedance value, then its rows: one, or one
    // per frequency.
    bool strip(float value) {
        Row row;
        if (req_.command == Command::analyze) {
            row.strip = line_.of_width(value);
            row.zo = row.strip.zo;
        } else {
            row.zo = value;
            row.strip = line_.for_impedance(value);
            if (!row.strip.realised) {
                row.status = Status::unrealisable;
            } else if (!(std::fabs(value - row.strip.zo) < 0.001f * value)) {
                // The search's own test of its result: the zero-thickness
                // forms stop at their widest strip whatever the target.
                row.status = Status::off_target;
            }
        }
        if (row.strip.realised) describe(row);
        if (!req_.freqs) return send(row);
        const Status of_strip = row.status;
        return req_.freqs->for_each([&](float f) {
            row.f = f;
            row.status = of_strip;
            if (row.strip.realised) {
                row.loss = line_.loss_at(f);
                const model::Sllos1& s = row.loss;
                if (!finite({s.ac, s.ad, s.atot, s.qu, s.wg, s.wl})) {
                    row.status = worse(row.status, Status::not_finite);
                }
            }
            return send(row);
        });
    }

    Totals totals;

private:
    // What the strip's values and its tolerance window make of the row's
    // status. Only a window that is one (finite, above 0 ohm) is kept.
    void describe(Row& row) const {
        const engine::Strip& s = row.strip;
        if (!finite({s.w, s.wbyb, s.zo, s.tec, s.sen.szob, s.sen.szoer, s.sen.szow, s.sen.szot, row.zo})) {
            row.status = worse(row.status, Status::not_finite);
        }
        if (!req_.tol.any()) return;
        row.window = zo_window(line_.line(), s, req_.tol);
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

    bool send(const Row& row) {
        ++totals.rows;
        ++totals.by_status[static_cast<std::size_t>(row.status)];
        // w holds the width the search gave up on.
        const engine::Strip& s = row.strip;
        if (row.status == Status::unrealisable && std::isfinite(s.w) && s.w < model::kMinWidth) {
            ++totals.too_narrow;
        }
        return sink_(row);
    }

    const Request& req_;
    const std::function<bool(const Row&)>& sink_;
    engine::LineRows line_;
};

}  // namespace

Totals compute_rows(const Request& req, const std::function<bool(const Row&)>& sink) {
    RowRun run(req, sink);
    req.values.for_each([&](float value) { return run.strip(value); });
    return run.totals;
}

}  // namespace ferravane::cli
