#include "cli/columns.hpp"

#include <initializer_list>
#include <iterator>

#include "cli/text.hpp"

namespace ferravane::cli {
namespace {

using Value = std::optional<float>;

bool computed(const Row& r) { return r.strip.realised; }

Value length(const Row& r, float inches, LengthUnit u) {
    if (!computed(r)) return std::nullopt;
    return length_from_inches(inches, u);
}
Value plain(const Row& r, float v) {
    if (!computed(r)) return std::nullopt;
    return v;
}
Value loss(const Row& r, float db_per_inch, LengthUnit u) {
    if (!computed(r)) return std::nullopt;
    return loss_from_db_per_inch(db_per_inch, u);
}
template <float Window::*Field>
Value window(const Row& r, LengthUnit) {
    if (!r.window) return std::nullopt;
    return (*r.window).*Field;
}

// A conductor loss, total loss or Q: empty when the conductor loss is not
// finite (a strip of zero thickness in the field solver).
Value of_conductor(const Row& r, float v) {
    if (!r.conductor_loss_finite) return std::nullopt;
    return plain(r, v);
}
Value conductor_loss(const Row& r, float db_per_inch, LengthUnit u) {
    if (!r.conductor_loss_finite) return std::nullopt;
    return loss(r, db_per_inch, u);
}

const Column kWidth = {"w", ColumnUnit::length, [](const Row& r, LengthUnit u) { return length(r, r.strip.w, u); }};
const Column kGap = {"s", ColumnUnit::length, [](const Row& r, LengthUnit u) { return length(r, r.strip.s, u); }};
const Column kWbyB = {"w_over_b", ColumnUnit::none, [](const Row& r, LengthUnit) { return plain(r, r.strip.wbyb); }};
// The impedance asked for stays in a row that could not be realised.
const Column kZo = {"zo", ColumnUnit::ohm, [](const Row& r, LengthUnit) -> Value { return r.zo; }};
// synthesize: the impedance of the strip drawn, beside the target.
const Column kRealised = {"zo_realised", ColumnUnit::ohm,
                          [](const Row& r, LengthUnit) { return plain(r, r.strip.zo); }};
const Column kCutoff = {"te11_ghz", ColumnUnit::ghz, [](const Row& r, LengthUnit) { return plain(r, r.strip.tec); }};
// The field solver on a centred strip: the closed forms beside it, and
// their error in per cent.
const Column kModel[] = {
    {"zo_model", ColumnUnit::ohm,
     [](const Row& r, LengthUnit) -> Value { return computed(r) ? r.strip.zo_model : std::nullopt; }},
    {"zo_model_error", ColumnUnit::percent,
     [](const Row& r, LengthUnit) -> Value {
         if (!computed(r) || !r.strip.zo_model) return std::nullopt;
         const auto zo = static_cast<double>(r.strip.zo);
         return static_cast<float>((static_cast<double>(*r.strip.zo_model) - zo) / zo * 100.0);
     }},
};
const Column kPair[] = {
    {"z_odd", ColumnUnit::ohm, [](const Row& r, LengthUnit) { return plain(r, r.strip.pair.z_odd); }},
    {"z_even", ColumnUnit::ohm, [](const Row& r, LengthUnit) { return plain(r, r.strip.pair.z_even); }},
    {"z_diff", ColumnUnit::ohm, [](const Row& r, LengthUnit) { return plain(r, r.strip.pair.z_diff); }},
    {"z_common", ColumnUnit::ohm, [](const Row& r, LengthUnit) { return plain(r, r.strip.pair.z_common); }},
    {"coupling", ColumnUnit::none, [](const Row& r, LengthUnit) { return plain(r, r.strip.pair.coupling); }},
};
// synthesize, a pair: the impedances asked for, beside those of the pair drawn.
const Column kDiffTarget = {"z_diff_target", ColumnUnit::ohm, [](const Row& r, LengthUnit) -> Value { return r.zo; }};
const Column kCommonTarget = {"z_common_target", ColumnUnit::ohm,
                              [](const Row& r, LengthUnit) -> Value { return r.second; }};
const Column kOddEvenTargets[] = {
    {"z_odd_target", ColumnUnit::ohm, [](const Row& r, LengthUnit) -> Value { return r.zo; }},
    {"z_even_target", ColumnUnit::ohm, [](const Row& r, LengthUnit) -> Value { return r.second; }},
};

const Column kFrequency[] = {
    {"f_mhz", ColumnUnit::mhz, [](const Row& r, LengthUnit) { return r.f; }},
    {"lambda0", ColumnUnit::length, [](const Row& r, LengthUnit u) { return length(r, r.loss.wl, u); }},
    {"lambdag", ColumnUnit::length, [](const Row& r, LengthUnit u) { return length(r, r.loss.wg, u); }},
};
const Column kLoss[] = {
    {"q", ColumnUnit::none, [](const Row& r, LengthUnit) { return of_conductor(r, r.loss.qu); }},
    {"loss_conductor", ColumnUnit::loss,
     [](const Row& r, LengthUnit u) { return conductor_loss(r, r.loss.ac, u); }},
    {"loss_dielectric", ColumnUnit::loss, [](const Row& r, LengthUnit u) { return loss(r, r.loss.ad, u); }},
    {"loss_total", ColumnUnit::loss, [](const Row& r, LengthUnit u) { return conductor_loss(r, r.loss.atot, u); }},
};
// A pair: each mode's, the odd mode's in loss, the even mode's in loss_even.
const Column kPairLoss[] = {
    {"q_odd", ColumnUnit::none, [](const Row& r, LengthUnit) { return of_conductor(r, r.loss.qu); }},
    {"q_even", ColumnUnit::none, [](const Row& r, LengthUnit) { return of_conductor(r, r.loss_even.qu); }},
    {"loss_conductor_odd", ColumnUnit::loss,
     [](const Row& r, LengthUnit u) { return conductor_loss(r, r.loss.ac, u); }},
    {"loss_conductor_even", ColumnUnit::loss,
     [](const Row& r, LengthUnit u) { return conductor_loss(r, r.loss_even.ac, u); }},
    {"loss_dielectric", ColumnUnit::loss, [](const Row& r, LengthUnit u) { return loss(r, r.loss.ad, u); }},
    {"loss_total_odd", ColumnUnit::loss,
     [](const Row& r, LengthUnit u) { return conductor_loss(r, r.loss.atot, u); }},
    {"loss_total_even", ColumnUnit::loss,
     [](const Row& r, LengthUnit u) { return conductor_loss(r, r.loss_even.atot, u); }},
};
const Column kSensitivity[] = {
    {"s_b", ColumnUnit::none, [](const Row& r, LengthUnit) { return plain(r, r.strip.sen.szob); }},
    {"s_er", ColumnUnit::none, [](const Row& r, LengthUnit) { return plain(r, r.strip.sen.szoer); }},
    {"s_w", ColumnUnit::none, [](const Row& r, LengthUnit) { return plain(r, r.strip.sen.szow); }},
    {"s_t", ColumnUnit::none, [](const Row& r, LengthUnit) { return plain(r, r.strip.sen.szot); }},
};
const Column kStatus = {"status", ColumnUnit::status, nullptr};
const Column kEstimates[] = {
    {"zo_lin_min", ColumnUnit::ohm, window<&Window::lin_min>},
    {"zo_lin_max", ColumnUnit::ohm, window<&Window::lin_max>},
    {"zo_rss_min", ColumnUnit::ohm, window<&Window::rss_min>},
    {"zo_rss_max", ColumnUnit::ohm, window<&Window::rss_max>},
};
const Column kCorners[] = {
    {"zo_min", ColumnUnit::ohm, window<&Window::min>},
    {"zo_max", ColumnUnit::ohm, window<&Window::max>},
};
const Column kPairCorners[] = {
    {"z_diff_min", ColumnUnit::ohm, window<&Window::min>},
    {"z_diff_max", ColumnUnit::ohm, window<&Window::max>},
    {"z_common_min", ColumnUnit::ohm, window<&Window::common_min>},
    {"z_common_max", ColumnUnit::ohm, window<&Window::common_max>},
};

template <std::size_t N>
void add(std::vector<Column>& cols, const Column (&r)[N]) {
    for (const Column& c : r) cols.push_back(c);
}

}  // namespace

std::vector<Column> columns_for(const Request& req) {
    std::vector<Column> cols;
    const bool synthesis = req.command == Command::synthesize;
    if (req.pair()) {
        for (const Column& c : {kWidth, kGap, kWbyB}) cols.push_back(c);
        add(cols, kPair);
        if (synthesis && req.target == Target::z_odd_even) add(cols, kOddEvenTargets);
        if (synthesis && req.target != Target::z_odd_even) cols.push_back(kDiffTarget);
        if (synthesis && req.target == Target::z_diff_common) cols.push_back(kCommonTarget);
        if (req.freqs) {
            add(cols, kFrequency);
            add(cols, kPairLoss);
        }
        cols.push_back(kStatus);
        if (req.tol.any()) add(cols, kPairCorners);
        return cols;
    }
    for (const Column& c : {kWidth, kWbyB, kZo}) cols.push_back(c);
    if (synthesis) cols.push_back(kRealised);
    const bool centred = !req.line.h;
    if (req.field() && centred) add(cols, kModel);
    if (centred) cols.push_back(kCutoff);
    if (req.freqs) {
        add(cols, kFrequency);
        add(cols, kLoss);
    }
    if (!req.field()) add(cols, kSensitivity);
    cols.push_back(kStatus);
    if (req.tol.any()) {
        if (!req.field()) add(cols, kEstimates);
        add(cols, kCorners);
    }
    return cols;
}

std::string_view status_text(Status s) {
    switch (s) {
    case Status::ok: return "ok";
    case Status::unrealisable: return "unrealisable";
    case Status::not_finite: return "not_finite";
    case Status::off_target: return "off_target";
    case Status::infinite_conductor_loss: return "infinite_conductor_loss";
    case Status::tolerance_too_wide: return "tolerance_exceeds_width";
    case Status::window_reaches_zero: return "window_reaches_zero";
    }
    return "ok";
}

std::string_view unit_label(ColumnUnit unit, LengthUnit lengths) {
    switch (unit) {
    case ColumnUnit::length: return length_unit_name(lengths);
    case ColumnUnit::loss: return loss_unit_name(lengths);
    case ColumnUnit::ohm: return "ohm";
    case ColumnUnit::ghz: return "GHz";
    case ColumnUnit::mhz: return "MHz";
    case ColumnUnit::percent: return "%";
    case ColumnUnit::none:
    case ColumnUnit::status: break;
    }
    return "";
}

std::string csv_name(const Column& c, LengthUnit lengths) {
    std::string name(c.key);
    switch (c.unit) {
    case ColumnUnit::length: return cat(name, "_", length_unit_name(lengths));
    case ColumnUnit::loss: return cat(name, loss_unit_name(lengths) == "dB/in" ? "_db_per_in" : "_db_per_m");
    case ColumnUnit::ohm: return cat(name, "_ohm");
    case ColumnUnit::percent: return cat(name, "_pct");
    case ColumnUnit::ghz:
    case ColumnUnit::mhz:
    case ColumnUnit::none:
    case ColumnUnit::status: break;
    }
    return name;
}

}  // namespace ferravane::cli
