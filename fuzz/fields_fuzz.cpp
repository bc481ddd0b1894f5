// The field readers on arbitrary bytes. Byte 0 chooses how the source hands
// out its bytes (chunks of 1 to 8, so every buffer edge is met) and the
// order of field kinds; the rest is the stream. Every numeric field, and
// the raw bytes themselves, go through the numeric rules' own properties.
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "floats.hpp"
#include "harness.hpp"
#include "textio/in_stream.hpp"
#include "textio/numeric_field.hpp"
#include "textio/text20.hpp"

namespace {

using ferravane::fuzzing::check;
using ferravane::fuzzing::LineModel;
namespace textio = ferravane::textio;

// Hands out the bytes in small chunks.
class ChunkSource final : public textio::ByteSource {
public:
    ChunkSource(std::string_view data, std::size_t chunk) : data_(data), chunk_(chunk) {}
    long read(char* buf, std::size_t n, int*) override {
        const std::size_t take = std::min({n, chunk_, data_.size() - pos_});
        std::memcpy(buf, data_.data() + pos_, take);
        pos_ += take;
        return static_cast<long>(take);
    }

private:
    std::string_view data_;
    std::size_t chunk_;
    std::size_t pos_ = 0;
};

using ferravane::testing::same_bits;

// parse_numeric on an exactly sized heap copy, so a read past the field's
// end is an ASan report.
std::optional<float> parse_exact(std::string_view s) {
    const auto copy = std::make_unique<char[]>(s.size());
    if (!s.empty()) std::memcpy(copy.get(), s.data(), s.size());
    return textio::parse_numeric(std::string_view(copy.get(), s.size()));
}

bool has_word_letter(std::string_view s) {
    return s.find_first_of("iInN") != std::string_view::npos;
}

std::string without_blanks(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c != ' ') out.push_back(c);
    }
    return out;
}

bool digit(char c) { return c >= '0' && c <= '9'; }

// The plain decimal forms that strtof reads the same way once D is E and a
// bare exponent sign gets its E: [sign] digits [. digits] [E [sign] digits],
// at least one mantissa digit, exponent below 10000. Empty when s is not
// such a form.
std::string as_c_number(std::string_view s) {
    std::string out;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) out.push_back(s[i++]);
    bool mant_digit = false;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (digit(s[i])) {
            mant_digit = true;
        } else if (s[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
        out.push_back(s[i]);
    }
    if (!mant_digit) return {};
    if (i == s.size()) return out;
    const char c = s[i];
    if (c == 'e' || c == 'E' || c == 'd' || c == 'D') {
        ++i;
    } else if (c != '+' && c != '-') {
        return {};
    }
    out.push_back('e');
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) out.push_back(s[i++]);
    const std::size_t exp_start = i;
    for (; i < s.size() && digit(s[i]); ++i) out.push_back(s[i]);
    if (i != s.size() || i == exp_start) return {};
    const std::string_view exp = s.substr(exp_start);
    const auto nz = exp.find_first_not_of('0');
    if (nz != std::string_view::npos && exp.size() - nz > 4) return {};
    return out;
}

void check_numeric(std::string_view s) {
    const std::optional<float> v = parse_exact(s);

    if (v) {
        // Printing the value shortest-exact and reading it back gives the
        // same bits: the conversion rounds to the nearest float.
        char buf[64];
        const auto res = std::to_chars(buf, buf + sizeof buf, *v);
        check(res.ec == std::errc{}, "to_chars");
        const std::string_view printed(buf, static_cast<std::size_t>(res.ptr - buf));
        const std::optional<float> back = parse_exact(printed);
        check(back.has_value() && same_bits(*back, *v), "a value read back from its shortest form",
              printed);
        check(ferravane::textio::nearest_int(*v) == ferravane::textio::nearest_int(*back),
              "nearest integer of the same value");
    }

    if (has_word_letter(s)) return;
    // Outside the words, blanks are skipped wherever they stand.
    const std::string packed = without_blanks(s);
    const std::optional<float> p = parse_exact(packed);
    check(v.has_value() == p.has_value() && (!v || same_bits(*v, *p)),
          "blanks never change a number", s);

    // The plain decimal forms agree with the C library's correctly rounded
    // conversion.
    const std::string c_form = as_c_number(packed);
    if (!c_form.empty()) {
        const float expected = std::strtof(c_form.c_str(), nullptr);
        check(v.has_value() && same_bits(*v, expected), "a plain decimal number converts exactly",
              s);
    }
}

// Nearest integer, halves away from zero, checked in double arithmetic.
void check_nearest(float v) {
    const std::int32_t got = textio::nearest_int(v);
    std::int32_t expected = std::numeric_limits<std::int32_t>::min();
    if (std::isfinite(v)) {
        const double d = static_cast<double>(v);
        const double r = d < 0.0 ? -std::floor(-d + 0.5) : std::floor(d + 0.5);
        if (r >= -2147483648.0 && r < 2147483648.0) expected = static_cast<std::int32_t>(r);
    }
    check(got == expected, "nearest integer, halves away from zero");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t mode = data[0];
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);

    check_numeric(rest.substr(0, 64));
    if (rest.size() >= 4) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, rest.data(), 4);
        check_nearest(std::bit_cast<float>(bits));
    }

    ChunkSource source(rest, 1 + (mode & 7u));
    auto in = std::make_unique<textio::InStream>(source);
    LineModel model(rest);
    std::string field;
    // Field kinds in a cycle picked by the mode: numeric, text, skip.
    unsigned kinds = mode >> 3;
    for (int reads = 0;; ++reads) {
        const unsigned kind = (kinds + static_cast<unsigned>(reads)) % 3;
        if (kind == 2) {
            const textio::ReadStatus st = in->skip_line();
            check(st != textio::ReadStatus::error, "no read error from memory");
            check((st == textio::ReadStatus::ok) == model.skip(), "skipping read as the line rules say");
            if (st != textio::ReadStatus::ok) break;
            continue;
        }
        const bool numeric = kind == 0;
        const std::size_t w = numeric ? textio::kNumericWidth : textio::kTextWidth;
        const textio::ReadStatus st = in->take_field(w, numeric, field);
        const std::optional<std::string> expected = model.field(w, numeric);
        check(st != textio::ReadStatus::error, "no read error from memory");
        check((st == textio::ReadStatus::ok) == expected.has_value(), "end exactly where no line is left");
        if (st != textio::ReadStatus::ok) break;
        check(field == *expected, "field as the line rules say", field);
        check(field.size() <= w, "a field holds at most its width");
        if (numeric) {
            check_numeric(field);
            if (const auto v = textio::parse_numeric(field)) check_nearest(*v);
        } else {
            const textio::Text20 t = textio::Text20::from(field);
            check(t.view().size() == textio::kTextWidth, "a text field is 20 characters");
            check(t.view().substr(0, field.size()) == field &&
                      t.view().find_first_not_of(' ', field.size()) == std::string_view::npos,
                  "a text field is its characters and blanks", field);
            check(t.trimmed().size() <= field.size(), "trailing blanks only are trimmed");
        }
    }
    return 0;
}
