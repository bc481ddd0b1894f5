// The fixed 20-character, blank-padded text of file names and labels.
#pragma once

#include <algorithm>
#include <array>
#include <string_view>

namespace ferravane::textio {

inline constexpr std::size_t kTextWidth = 20;

struct Text20 {
    std::array<char, kTextWidth> c{};

    // The first 20 characters of s, blank-filled on the right.
    static Text20 from(std::string_view s) {
        Text20 t;
        t.c.fill(' ');
        std::copy_n(s.begin(), std::min(s.size(), kTextWidth), t.c.begin());
        return t;
    }
    std::string_view view() const { return {c.data(), c.size()}; }
    bool blank() const {
        return std::all_of(c.begin(), c.end(), [](char ch) { return ch == ' '; });
    }
    // Without its trailing blanks (leading blanks stay): a file name.
    std::string_view trimmed() const {
        std::string_view v = view();
        const auto last = v.find_last_not_of(' ');
        return last == std::string_view::npos ? std::string_view{} : v.substr(0, last + 1);
    }
    friend bool operator==(const Text20&, const Text20&) = default;
};

}  // namespace ferravane::textio
