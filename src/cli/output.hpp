// The three output formats behind one interface: a header, the rows as
// they are computed (so a long sweep streams), and a closing part.
#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "cli/arguments.hpp"
#include "cli/rows.hpp"

namespace ferravane::cli {

class RowWriter {
public:
    virtual ~RowWriter() = default;
    virtual void begin() = 0;
    virtual void row(const Row& row) = 0;
    virtual void end() = 0;
    // Whether every file the writer made could be written, and if not
    // the line that says which.
    virtual bool ok() const { return true; }
    virtual std::string error() const { return {}; }
};

std::unique_ptr<RowWriter> make_text_writer(std::ostream& out, const Request& req);
std::unique_ptr<RowWriter> make_csv_writer(std::ostream& out, const Request& req);
std::unique_ptr<RowWriter> make_json_writer(std::ostream& out, const Request& req);
std::unique_ptr<RowWriter> make_touchstone_writer(std::ostream& out, const Request& req);
std::unique_ptr<RowWriter> make_writer(std::ostream& out, const Request& req);

// The shortest decimal text that reads back to the same float ("inf",
// "-inf", "nan" for the values that are not finite).
std::string shortest(float v);
// Rounded to 6 significant digits, for reading by eye.
std::string six_digits(float v);

}  // namespace ferravane::cli
