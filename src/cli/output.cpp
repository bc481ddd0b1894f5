#include "cli/output.hpp"

namespace ferravane::cli {

std::unique_ptr<RowWriter> make_writer(std::ostream& out, const Request& req) {
    switch (req.format) {
    case Format::csv: return make_csv_writer(out, req);
    case Format::json: return make_json_writer(out, req);
    case Format::touchstone: return make_touchstone_writer(out, req);
    case Format::text: break;
    }
    return make_text_writer(out, req);
}

}  // namespace ferravane::cli
