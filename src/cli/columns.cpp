#include "cli/columns.hpp"

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

const Column kStrip[] = {
    {"w", ColumnUnit::length, [](const Row& r, LengthUnit u) { return length(r, r.strip.w, u); }},
    {"w_over_b", ColumnUnit::none, [](const Row& r, LengthUnit) { return plain(r, r.strip.wbyb); }},
    // The impedance asked for stays in a row that could not be realised.
    {"zo", ColumnUnit::ohm, [](const Row& r, LengthUnit) -> Value { return r.zo; }},
    {"te11_ghz", ColumnUnit::ghz, [](const Row& r, LengthUnit) { return plain(r, r.strip.tec); }},
};
// synthesize: the impedance of the strip drawn, beside the target.
const Column kRealised = {"zo_realised", ColumnUnit::ohm,
                          [](const Row& r, LengthUnit) { return plain(r, r.strip.zo); }};
const Column kLoss[] = {
    {"f_mhz", ColumnUnit::mhz, [](const Row& r, LengthUnit) { return r.f; }},
    {"lambda0", ColumnUnit::length, [](const Row& r, LengthUnit u) { return length(r, r.loss.wl, u); }},
    {"lambdag", ColumnUnit::length, [](const Row& r, LengthUnit u) { return length(r, r.loss.wg, u); }},
    {"q", ColumnUnit::none, [](const Row& r, LengthUnit) { return plain(r, r.loss.qu); }},
    {"loss_conductor", ColumnUnit::loss, [](const Row& r, LengthUnit u) { return loss(r, r.loss.ac, u); }},
    {"loss_dielectric", ColumnUnit::loss, [](const Row& r, LengthUnit u) { return loss(r, r.loss.ad, u); }},
    {"loss_total", ColumnUnit::loss, [](const Row& r, LengthUnit u) { return loss(r, r.loss.atot, u); }},
};
const Column kSensitivity[] = {
    {"s_b", ColumnUnit::none, [](const Row& r, LengthUnit) { return plain(r, r.strip.sen.szob); }},
    {"s_er", ColumnUnit::none, [](const Row& r, LengthUnit) { return plain(r, r.strip.sen.szoer); }},
    {"s_w", ColumnUnit::none, [](const Row& r, LengthUnit) { return plain(r, r.strip.sen.szow); }},
    {"s_t", ColumnUnit::none, [](const Row& r, LengthUnit) { return plain(r, r.strip.sen.szot); }},
    {"status", ColumnUnit::status, nullptr},
};
const Column kWindow[] = {
    {"zo_lin_min", ColumnUnit::ohm, window<&Window::lin_min>},
    {"zo_lin_max", ColumnUnit::ohm, window<&Window::lin_max>},
    {"zo_rss_min", ColumnUnit::ohm, window<&Window::rss_min>},
    {"zo_rss_max", ColumnUnit::ohm, window<&Window::rss_max>},
    {"zo_min", ColumnUnit::ohm, window<&Window::min>},
    {"zo_max", ColumnUnit::ohm, window<&Window::max>},
};

}  // namespace

std::vector<Column> columns_for(const Request& req) {
    std::vector<Column> cols(std::begin(kStrip), std::end(kStrip));
    if (req.command == Command::synthesize) cols.insert(cols.begin() + 3, kRealised);
    if (req.freqs) cols.insert(cols.end(), std::begin(kLoss), std::end(kLoss));
    cols.insert(cols.end(), std::begin(kSensitivity), std::end(kSensitivity));
    if (req.tol.any()) cols.insert(cols.end(), std::begin(kWindow), std::end(kWindow));
    return cols;
}

std::string_view status_text(Status s) {
    switch (s) {
    case Status::ok: return "ok";
    case Status::unrealisable: return "unrealisable";
    case Status::not_finite: return "not_finite";
    case Status::off_target: return "off_target";
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
    case ColumnUnit::ghz:
    case ColumnUnit::mhz:
    case ColumnUnit::none:
    case ColumnUnit::status: break;
    }
    return name;
}

}  // namespace ferravane::cli
