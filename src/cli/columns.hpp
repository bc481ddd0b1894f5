// The output columns, shared by the three formats: key, unit and how each
// value is taken from a row and converted to the display units.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/arguments.hpp"
#include "cli/rows.hpp"
#include "cli/units.hpp"

namespace ferravane::cli {

enum class ColumnUnit { length, loss, ohm, ghz, mhz, percent, none, status };

struct Column {
    std::string_view key;
    ColumnUnit unit;
    // The value in display units; none for an empty cell (a row that could
    // not be realised keeps only its inputs).
    std::optional<float> (*value)(const Row&, LengthUnit);
};

// The columns of the request, in order: the strip (or pair), the losses
// (with --f), the sensitivities (closed forms), the status, the tolerance
// window (with --tol).
std::vector<Column> columns_for(const Request& req);

std::string_view status_text(Status s);

// "in", "dB/m", "ohm", "GHz", "MHz"; empty for plain numbers and status.
std::string_view unit_label(ColumnUnit unit, LengthUnit lengths);

// The CSV header name: the key with its unit where the key lacks it
// ("w_in", "zo_ohm", "loss_total_db_per_m"; "te11_ghz" as it is).
std::string csv_name(const Column& c, LengthUnit lengths);

}  // namespace ferravane::cli
