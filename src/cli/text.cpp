#include "cli/text.hpp"

namespace ferravane::cli {
namespace {

// The length of the well-formed UTF-8 sequence at the start of s, or 0.
std::size_t utf8_length(std::string_view s) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    std::size_t n = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (s.size() < n || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < n; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    }
    return n;
}

bool is_control(std::string_view ch) {
    const auto lead = static_cast<unsigned char>(ch[0]);
    if (ch.size() == 1) return lead < 0x20 || lead == 0x7F;
    // U+0080 to U+009F: CSI and its kin reach many terminals as controls.
    return ch.size() == 2 && lead == 0xC2 && static_cast<unsigned char>(ch[1]) < 0xA0;
}

void append_escaped(std::string& out, std::string_view bytes) {
    constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += "\\x";
        out += kHex[b >> 4];
        out += kHex[b & 0xF];
    }
}

}  // namespace

std::string shown(std::string_view typed) {
    std::string out;
    std::size_t chars = 0;
    while (!typed.empty()) {
        if (chars == kShownChars) {
            out += "...";
            break;
        }
        const std::size_t n = utf8_length(typed);
        const std::string_view ch = typed.substr(0, n == 0 ? 1 : n);
        if (n == 0 || is_control(ch)) {
            append_escaped(out, ch);
        } else {
            out.append(ch);
        }
        typed.remove_prefix(ch.size());
        ++chars;
    }
    return out;
}

}  // namespace ferravane::cli
