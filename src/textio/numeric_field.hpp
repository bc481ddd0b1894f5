// The 13-character numeric field and the nearest-integer rule for menus.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace ferravane::textio {

inline constexpr std::size_t kNumericWidth = 13;

// Reads the field (already cut to its width and at a comma) as a number:
// blanks are skipped anywhere, an empty field is 0, "inf"/"infinity"/"nan"
// words, exponents as E, D or a bare sign ("1.5-3"). The result is the
// correctly rounded 32-bit value (subnormals included, overflow to
// infinity). nullopt is a bad value; so is an exponent of 10000 or more.
std::optional<float> parse_numeric(std::string_view field);

// Nearest integer, halves away from zero. NaN, infinities and results
// outside the 32-bit range give INT32_MIN.
std::int32_t nearest_int(float value);

}  // namespace ferravane::textio
