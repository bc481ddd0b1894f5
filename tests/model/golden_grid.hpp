// Deterministic input grid for the bit-identity check of the model, and the
// text line that records one input set with every output of the five
// routines as 32-bit patterns in hex.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace ferravane::model::golden {

struct Inputs {
    float b, er, t, w, zo, f, res, sr, tlos;
};

// A few hundred lines: a sweep over thin to thick strips, narrow to wide,
// several dielectrics and targets, followed by edge and degenerate values.
std::vector<Inputs> grid();

// "inputs : outputs", every value as 8 hex digits; NaNs are written as
// "nan" because their sign and payload carry no meaning.
std::string line(const Inputs& in);

// The inputs of a line written by line(), or nothing when it is malformed.
std::optional<Inputs> parse_inputs(const std::string& text);

}  // namespace ferravane::model::golden
