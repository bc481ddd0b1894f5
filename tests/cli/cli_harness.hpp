// Runs the command line from strings, and reads its CSV and JSON back with
// small parsers of their own, so a test sees what a script would see.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "floats.hpp"

namespace ferravane::testing {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// The arguments are the words of line, split at blanks.
CliRun run_cli(std::string_view line);

// RFC 4180 records: quoted fields, doubled quotes, CR LF after every
// record (a bare LF fails the test that reads it).
struct Csv {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;

    std::size_t column(std::string_view name) const;  // fails the test when absent
    const std::string& at(std::size_t row, std::string_view name) const;
    float number(std::size_t row, std::string_view name) const;  // strtof of the cell
};
Csv parse_csv(const std::string& text);

// A JSON value; numbers keep their text so floats can be read exactly.
struct Json {
    enum class Kind { null, boolean, number, string, array, object } kind = Kind::null;
    bool boolean = false;
    std::string text;  // the number's text, or the string
    std::vector<Json> items;          // of an array
    std::vector<std::string> keys;    // of an object, in order
    std::vector<Json> values;         // of an object, one per key

    const Json& operator[](std::string_view key) const;  // fails the test when absent
    float number() const;
};
Json parse_json(const std::string& text);  // the whole text must be one value

// The shortest text that reads back to v.
std::string float_text(float v);

}  // namespace ferravane::testing
