// One JSON document: the command, the line, the tolerances as typed, the
// units of every value that has one, and the rows as an array of objects
// keyed like the CSV columns without their unit suffix. An empty number
// and a value that is not finite (JSON has no infinity) are null.
#include <cmath>
#include <vector>

#include "cli/columns.hpp"
#include "cli/output.hpp"
#include "cli/text.hpp"

namespace ferravane::cli {
namespace {

std::string string_value(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            constexpr char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[(c >> 4) & 0xF];
            out += hex[c & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

std::string number_value(float v) { return std::isfinite(v) ? shortest(v) : "null"; }

class JsonWriter final : public RowWriter {
public:
    JsonWriter(std::ostream& out, const Request& req)
        : out_(out), req_(req), units_(req.units), cols_(columns_for(req)) {}

    void begin() override {
        const Line& l = req_.line;
        const std::string len = string_value(length_unit_name(units_));
        std::string s = cat("{\n  \"command\": ", string_value(command_name(req_.command)), ",\n");
        s += cat("  \"line\": {\"b\": ", number_value(length_from_inches(l.b, units_)),
                 ", \"t\": ", number_value(length_from_inches(l.t, units_)),
                 ", \"er\": ", number_value(l.er), ", \"tand\": ", number_value(l.tlos),
                 ", \"metal\": ", req_.metal.empty() ? std::string("null") : string_value(req_.metal),
                 ", \"resistivity\": ", number_value(l.res1),
                 ", \"roughness\": ", number_value(l.sr1));
        if (req_.field()) {
            // The field solver's line: its placement, the dimension given
            // beside the impedance, and the solver itself.
            auto length = [&](const char* key, float inches) {
                s += cat(", \"", key, "\": ", number_value(length_from_inches(inches, units_)));
            };
            if (l.h) length("h", *l.h);
            const bool synthesis = req_.command == Command::synthesize;
            if (req_.pair() && (!synthesis || req_.target == Target::z_diff_s)) length("s", req_.s);
            if (synthesis && req_.target == Target::z_diff_w) length("w", req_.w);
            s += ", \"solver\": \"field\"";
        }
        s += "},\n";
        if (req_.tol.any()) {
            std::string t;
            for (const ToleranceKey& k : kToleranceKeys) {
                const Tolerance& tol = req_.tol.*k.member;
                if (!tol.given) continue;
                if (!t.empty()) t += ", ";
                t += cat(string_value(k.key), ": ", string_value(tol.typed));
            }
            s += cat("  \"tolerances\": {", t, "},\n");
        }
        std::string lengths = cat("\"b\": ", len, ", \"t\": ", len);
        if (l.h) lengths += cat(", \"h\": ", len);
        s += cat("  \"units\": {", lengths,
                 ", \"resistivity\": \"uohm-cm\", \"roughness\": \"uin\"");
        for (const Column& c : cols_) {
            const std::string_view u = unit_label(c.unit, units_);
            if (!u.empty()) s += cat(", ", string_value(c.key), ": ", string_value(u));
        }
        s += "},\n  \"rows\": [";
        out_ << s;
    }

    void row(const Row& row) override {
        std::string s = first_ ? "\n    {" : ",\n    {";
        first_ = false;
        for (std::size_t i = 0; i < cols_.size(); ++i) {
            const Column& c = cols_[i];
            if (i > 0) s += ", ";
            s += cat(string_value(c.key), ": ");
            if (c.unit == ColumnUnit::status) {
                s += string_value(status_text(row.status));
            } else if (const auto v = c.value(row, units_)) {
                s += number_value(*v);
            } else {
                s += "null";
            }
        }
        out_ << s << '}';
    }

    void end() override { out_ << (first_ ? "]\n}\n" : "\n  ]\n}\n"); }

private:
    std::ostream& out_;
    const Request& req_;
    LengthUnit units_;
    std::vector<Column> cols_;
    bool first_ = true;
};

}  // namespace

std::unique_ptr<RowWriter> make_json_writer(std::ostream& out, const Request& req) {
    return std::make_unique<JsonWriter>(out, req);
}

}  // namespace ferravane::cli
