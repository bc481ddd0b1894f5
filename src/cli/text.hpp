// Joining pieces of text, and showing what the user typed in a message.
// cat() is used instead of "literal" + std::string, which g++ 12 at -O3
// misreports under -Werror=restrict.
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

// Typed text as a message may echo it: control characters (C0, DEL, C1)
// and bytes that are not UTF-8 as \xNN, so a message stays one line and
// sends no escape sequence to the terminal; more than kShownChars
// characters are cut, with "..." after them.
inline constexpr std::size_t kShownChars = 40;
std::string shown(std::string_view typed);

// shown() in single quotes.
inline std::string quoted(std::string_view s) { return cat("'", shown(s), "'"); }

}  // namespace ferravane::cli
