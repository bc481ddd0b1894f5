#include "cli/rows.hpp"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <span>
#include <initializer_list>

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

engine::Wanted wanted_by(const Request& req) {
    engine::Wanted w;
    w.sensitivities = !req.field();
    w.losses = req.freqs.has_value();
    w.model_zo = req.field() && !req.pair() && !req.line.h;
    w.network = req.format == Format::touchstone;
    return w;
}

class RowRun {
public:
    RowRun(const Request& req, const std::function<bool(const Row&)>& sink)
        : req_(req), sink_(sink), line_(req.line, wanted_by(req)) {}

    // The strip (or pair) of one value of the sweep, then its rows: one, or
    // one per frequency.
    bool strip(float value, std::span<const float> next) {
        Row row;
        row.zo = value;
        row.second = req_.second;
        find(row, value, next);
        if (row.strip.realised) describe(row);
        if (!req_.freqs) return send(row);
        const Status of_strip = row.status;
        return req_.freqs->for_each([&](float f) {
            row.f = f;
            row.status = of_strip;
            if (row.strip.realised) {
                line_.loss_at(row, f);
                const model::Sllos1& s = row.loss;
                const model::Sllos1& e = req_.pair() ? row.loss_even : row.loss;
                if (!row.conductor_loss_finite) {
                    row.status = worse(row.status, Status::infinite_conductor_loss);
                    if (!finite({s.ad, s.wg, s.wl})) row.status = worse(row.status, Status::not_finite);
                } else if (!finite({s.ac, s.ad, s.atot, s.qu, s.wg, s.wl, e.ac, e.atot, e.qu})) {
                    row.status = worse(row.status, Status::not_finite);
                }
            }
            return send(row);
        });
    }

    Totals totals;

private:
    // The strip of the width (analyze) or the one found for the impedance
    // (synthesize).
    void find(Row& row, float value, std::span<const float> next) {
        const Request& r = req_;
        if (r.command == Command::analyze) {
            row.strip = line_.of_width(value, r.s);
            row.zo = r.pair() ? row.strip.pair.z_diff : row.strip.zo;
            return;
        }
        switch (r.target) {
            case Target::zo: row.strip = line_.for_impedance(value, next); break;
            case Target::z_diff_s: row.strip = line_.pair_width_for(value, r.s); break;
            case Target::z_diff_w: row.strip = line_.pair_gap_for(value, r.w); break;
            case Target::z_diff_common: row.strip = line_.pair_for(value / 2.0f, 2.0f * r.second); break;
            case Target::z_odd_even: row.strip = line_.pair_for(value, r.second); break;
        }
        if (!row.strip.realised) {
            row.status = Status::unrealisable;
        } else if (r.target == Target::zo && !(std::fabs(value - row.strip.zo) < 0.001f * value)) {
            // The search's own test of its result: the zero-thickness
            // forms stop at their widest strip whatever the target.
            row.status = Status::off_target;
        }
    }

    // What the strip's values and its tolerance window make of the row's
    // status. Only a window that is one (finite, above 0 ohm) is kept.
    void describe(Row& row) const {
        const engine::Strip& s = row.strip;
        const engine::PairImpedances& p = s.pair;
        const bool values_finite =
            req_.pair() ? finite({s.w, s.s, s.wbyb, p.z_odd, p.z_even, p.z_diff, p.z_common, p.coupling})
                        : finite({s.w, s.wbyb, s.zo, s.tec, s.sen.szob, s.sen.szoer, s.sen.szow, s.sen.szot, row.zo});
        if (!values_finite || (s.zo_model && !std::isfinite(*s.zo_model))) {
            row.status = worse(row.status, Status::not_finite);
        }
        if (!req_.tol.any()) return;
        row.window = zo_window(line_.line(), s, req_.tol);
        const std::optional<Window>& w = row.window;
        Status fault = Status::ok;
        if (!w) {
            fault = Status::tolerance_too_wide;
        } else if (!window_finite(*w)) {
            fault = Status::not_finite;
        } else if (!(w->min > 0.0f && (req_.field() || (w->lin_min > 0.0f && w->rss_min > 0.0f)) &&
                     (!req_.pair() || w->common_min > 0.0f))) {
            fault = Status::window_reaches_zero;
        }
        if (fault != Status::ok) row.window.reset();
        row.status = worse(row.status, fault);
    }

    bool window_finite(const Window& w) const {
        if (!finite({w.min, w.max})) return false;
        if (req_.pair() && !finite({w.common_min, w.common_max})) return false;
        return req_.field() || finite({w.lin_min, w.lin_max, w.rss_min, w.rss_max});
    }

    bool send(const Row& row) {
        ++totals.rows;
        ++totals.by_status[static_cast<std::size_t>(row.status)];
        if (row.status == Status::unrealisable) ++totals.by_reason[static_cast<std::size_t>(row.strip.why)];
        return sink_(row);
    }

    const Request& req_;
    const std::function<bool(const Row&)>& sink_;
    engine::LineRows line_;
};

}  // namespace

Totals compute_rows(const Request& req, const std::function<bool(const Row&)>& sink) {
    RowRun run(req, sink);
    // Each value with those after it, which the engine may find ahead.
    float window[engine::kAhead + 1];
    std::size_t held = 0;
    auto first = [&] {
        const bool go_on = run.strip(window[0], std::span<const float>(window + 1, held - 1));
        std::copy(window + 1, window + held, window);
        --held;
        return go_on;
    };
    const bool whole = req.values.for_each([&](float value) {
        window[held++] = value;
        return held < std::size(window) || first();
    });
    while (whole && held > 0) {
        if (!first()) break;
    }
    return run.totals;
}

}  // namespace ferravane::cli
