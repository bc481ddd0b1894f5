#include <charconv>
#include <cmath>

#include "cli/output.hpp"

namespace ferravane::cli {
namespace {

std::string not_finite(float v) {
    if (std::isnan(v)) return "nan";
    return v > 0.0f ? "inf" : "-inf";
}

}  // namespace

std::string shortest(float v) {
    if (!std::isfinite(v)) return not_finite(v);
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

std::string six_digits(float v) {
    if (!std::isfinite(v)) return not_finite(v);
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
    return std::string(buf, res.ptr);
}

}  // namespace ferravane::cli
