// Aligned columns for reading: two comment lines describing the line, the
// keys, their units in brackets, then one line per row. Every number is
// rounded to 6 significant digits, which always fits the 12-character
// columns, so rows can be written as they come.
#include <algorithm>
#include <vector>

#include "cli/columns.hpp"
#include "cli/output.hpp"
#include "cli/text.hpp"

namespace ferravane::cli {
namespace {

constexpr std::size_t kMinWidth = 12;

class TextWriter final : public RowWriter {
public:
    TextWriter(std::ostream& out, const Request& req)
        : out_(out), req_(req), units_(req.units), cols_(columns_for(req)) {}

    void begin() override {
        const Line& l = req_.line;
        const std::string len(length_unit_name(units_));
        auto length = [&](const char* name, float inches) {
            out_ << ", " << name << ' ' << six_digits(length_from_inches(inches, units_)) << ' ' << len;
        };
        out_ << "# " << command_name(req_.command) << ": B " << six_digits(length_from_inches(l.b, units_))
             << ' ' << len;
        length("T", l.t);
        if (l.h) length("H", *l.h);
        if (req_.pair() && given_gap()) length("S", req_.s);
        if (req_.command == Command::synthesize && req_.target == Target::z_diff_w) length("W", req_.w);
        out_ << ", Er " << six_digits(l.er) << ", loss tangent " << six_digits(l.tlos) << ", "
             << (req_.metal.empty() ? "resistivity" : req_.metal) << ' ' << six_digits(l.res1)
             << " uohm-cm, roughness " << six_digits(l.sr1) << " uin" << (req_.field() ? ", field solver" : "")
             << '\n';
        if (req_.tol.any()) {
            out_ << "# tolerances:";
            const char* sep = " ";
            for (const ToleranceKey& k : kToleranceKeys) {
                const Tolerance& tol = req_.tol.*k.member;
                if (!tol.given) continue;
                out_ << sep << k.key << " +/-" << tol.typed;
                sep = ", ";
            }
            out_ << '\n';
        }
        std::vector<std::string> names, units;
        for (const Column& c : cols_) {
            names.emplace_back(c.key);
            const std::string_view u = unit_label(c.unit, units_);
            units.push_back(u.empty() ? std::string() : cat("[", u, "]"));
        }
        line(names);
        line(units);
    }

    void row(const Row& row) override {
        std::vector<std::string> cells;
        for (const Column& c : cols_) {
            if (c.unit == ColumnUnit::status) {
                cells.emplace_back(status_text(row.status));
            } else if (const auto v = c.value(row, units_)) {
                cells.push_back(six_digits(*v));
            } else {
                cells.emplace_back("-");
            }
        }
        line(cells);
    }

    void end() override {}

private:
    bool given_gap() const {
        return req_.command == Command::analyze || req_.target == Target::z_diff_s;
    }

    void line(const std::vector<std::string>& cells) {
        std::string s;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const std::size_t width = std::max(kMinWidth, cols_[i].unit == ColumnUnit::status
                                                              ? status_width_
                                                              : cols_[i].key.size());
            if (i > 0) s += "  ";
            if (cells[i].size() < width) s.append(width - cells[i].size(), ' ');
            s += cells[i];
        }
        // Trailing blanks carry nothing.
        s.erase(s.find_last_not_of(' ') + 1);
        out_ << s << '\n';
    }

    std::ostream& out_;
    const Request& req_;
    LengthUnit units_;
    std::vector<Column> cols_;
    // Only a request with tolerances can have the longest status.
    std::size_t status_width_ =
        req_.tol.any() ? status_text(Status::tolerance_too_wide).size() : kMinWidth;
};

}  // namespace

std::unique_ptr<RowWriter> make_text_writer(std::ostream& out, const Request& req) {
    return std::make_unique<TextWriter>(out, req);
}

}  // namespace ferravane::cli
