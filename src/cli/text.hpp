// Joining pieces of text. Used instead of "literal" + std::string, which
// g++ 12 at -O3 misreports under -Werror=restrict.
#pragma once

#include <string>
#include <string_view>

namespace ferravane::cli {

template <typename... Parts>
std::string cat(const Parts&... parts) {
    std::string s;
    (s.append(std::string_view(parts)), ...);
    return s;
}

inline std::string quoted(std::string_view s) { return cat("'", s, "'"); }

}  // namespace ferravane::cli
