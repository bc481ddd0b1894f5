// RFC 4180: one header line, comma-separated fields, lines ended by CR LF,
// a field quoted only when it holds a comma, a quote or a line break.
#include <vector>

#include "cli/columns.hpp"
#include "cli/output.hpp"

namespace ferravane::cli {
namespace {

std::string field(std::string_view s) {
    if (s.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(s);
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

class CsvWriter final : public RowWriter {
public:
    CsvWriter(std::ostream& out, const Request& req)
        : out_(out), units_(req.units), cols_(columns_for(req)) {}

    void begin() override {
        std::string line;
        for (std::size_t i = 0; i < cols_.size(); ++i) {
            if (i > 0) line += ',';
            line += field(csv_name(cols_[i], units_));
        }
        out_ << line << "\r\n";
    }

    void row(const Row& row) override {
        std::string line;
        for (std::size_t i = 0; i < cols_.size(); ++i) {
            if (i > 0) line += ',';
            const Column& c = cols_[i];
            if (c.unit == ColumnUnit::status) {
                line += field(status_text(row.status));
            } else if (const auto v = c.value(row, units_)) {
                line += shortest(*v);
            }
        }
        out_ << line << "\r\n";
    }

    void end() override {}

private:
    std::ostream& out_;
    LengthUnit units_;
    std::vector<Column> cols_;
};

}  // namespace

std::unique_ptr<RowWriter> make_csv_writer(std::ostream& out, const Request& req) {
    return std::make_unique<CsvWriter>(out, req);
}

}  // namespace ferravane::cli
