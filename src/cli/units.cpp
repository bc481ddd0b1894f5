#include "cli/units.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "cli/text.hpp"
#include "cli/usage_error.hpp"

namespace ferravane::cli {
namespace {

struct Unit {
    std::string_view name;
    int shift;     // power of ten between the unit and the model's unit
    bool per_254;  // then divide by 254: 25.4 mm to the inch
};

constexpr Unit kLength[] = {{"in", 0, false}, {"mil", -3, false}, {"mm", 1, true}, {"um", -2, true}};
constexpr Unit kFrequency[] = {{"hz", -6, false}, {"khz", -3, false}, {"mhz", 0, false}, {"ghz", 3, false}};
constexpr Unit kRoughness[] = {{"uin", 0, false}, {"um", 4, true}};
constexpr Unit kImpedance[] = {{"ohm", 0, false}, {"ohms", 0, false}};

struct UnitSet {
    const Unit* begin;
    const Unit* end;
    std::string_view listed;  // for the error message
};

UnitSet units_of(Quantity q) {
    switch (q) {
    case Quantity::length: return {std::begin(kLength), std::end(kLength), "in, mil, mm or um"};
    case Quantity::frequency:
        return {std::begin(kFrequency), std::end(kFrequency), "Hz, kHz, MHz or GHz"};
    case Quantity::roughness: return {std::begin(kRoughness), std::end(kRoughness), "uin or um"};
    case Quantity::impedance: return {std::begin(kImpedance), std::end(kImpedance), "ohm"};
    case Quantity::number: break;
    }
    return {nullptr, nullptr, ""};
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Length of the number at the start of s: sign, digits with at most one
// point, and an exponent only when digits follow the E.
std::size_t number_length(std::string_view s) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < n && is_digit(s[i])) ++i, ++digits;
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && is_digit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (s[j] == '+' || s[j] == '-')) ++j;
        std::size_t k = j;
        while (k < n && is_digit(s[k])) ++k;
        if (k > j) i = k;
    }
    return i;
}

// The number's text with its decimal exponent moved by shift, in the form
// std::from_chars reads (no leading plus).
std::string shifted(std::string_view number, int shift) {
    if (!number.empty() && number.front() == '+') number.remove_prefix(1);
    const std::size_t e = number.find_first_of("eE");
    std::string_view mantissa = number.substr(0, e);
    std::int64_t exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view digits = number.substr(e + 1);
        bool negative = false;
        if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
            negative = digits.front() == '-';
            digits.remove_prefix(1);
        }
        // Saturate far outside the float range; the reader then reports it.
        for (char c : digits) {
            if (exponent < 1000000) exponent = exponent * 10 + (c - '0');
        }
        if (negative) exponent = -exponent;
    }
    exponent += shift;
    std::string out(mantissa);
    if (exponent != 0) {
        out += 'e';
        out += std::to_string(exponent);
    }
    return out;
}

std::string lower_unit(std::string_view unit) {
    std::string out;
    // The micro sign (U+00B5) and Greek mu (U+03BC) read as u.
    if (unit.starts_with("\xC2\xB5") || unit.starts_with("\xCE\xBC")) {
        out = "u";
        unit.remove_prefix(2);
    }
    for (char c : unit) out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return out;
}

[[noreturn]] void out_of_range(std::string_view typed) {
    throw UsageError(cat(quoted(typed), " is out of range"));
}
[[noreturn]] void not_a_number(std::string_view typed) {
    throw UsageError(cat(quoted(typed), " is not a number"));
}

// Beyond the type's range either way: too large, or a number that is not
// zero but rounds to zero.
template <typename T>
T parse_or_throw(const std::string& text, std::string_view typed) {
    T value{};
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range || (ec == std::errc{} && std::isinf(value))) {
        out_of_range(typed);
    }
    if (ec != std::errc{} || ptr != text.data() + text.size()) not_a_number(typed);
    return value;
}

// A value read as typed: -0 is 0, and a number too small for a float is
// out of range rather than 0.
float checked_float(double value, std::string_view typed) {
    const auto rounded = static_cast<float>(value);
    if (std::isinf(rounded) || (rounded == 0.0f && value != 0.0)) out_of_range(typed);
    return rounded + 0.0f;
}

}  // namespace

Reading read_quantity(std::string_view text, Quantity q) {
    const std::size_t n = number_length(text);
    if (n == 0) not_a_number(text);
    const std::string_view number = text.substr(0, n);
    const std::string_view unit_text = text.substr(n);

    Unit unit{"", 0, false};
    const bool has_unit = !unit_text.empty();
    if (has_unit) {
        const UnitSet set = units_of(q);
        if (set.begin == nullptr) not_a_number(text);
        const std::string key = lower_unit(unit_text);
        const Unit* found = nullptr;
        for (const Unit* u = set.begin; u != set.end; ++u) {
            if (u->name == key) found = u;
        }
        if (found == nullptr) {
            throw UsageError(cat("unknown unit ", quoted(unit_text), " in ", quoted(text), " (use ", set.listed, ")"));
        }
        unit = *found;
    }

    const std::string digits = shifted(number, unit.shift);
    if (!unit.per_254) {
        const auto value = parse_or_throw<float>(digits, text);
        return {checked_float(static_cast<double>(value), text), has_unit};
    }
    return {checked_float(parse_or_throw<double>(digits, text) / 254.0, text), has_unit};
}

double read_double(std::string_view text) {
    const std::size_t n = number_length(text);
    if (n == 0 || n != text.size()) not_a_number(text);
    return parse_or_throw<double>(shifted(text, 0), text) + 0.0;
}

std::string_view default_unit(Quantity q) {
    switch (q) {
    case Quantity::length: return "inches";
    case Quantity::frequency: return "MHz";
    case Quantity::roughness: return "micro-inches";
    case Quantity::impedance: return "ohms";
    case Quantity::number: break;
    }
    return "";
}

bool length_unit_named(std::string_view name, LengthUnit& unit) {
    constexpr std::pair<std::string_view, LengthUnit> names[] = {
        {"in", LengthUnit::in}, {"mil", LengthUnit::mil}, {"mm", LengthUnit::mm}, {"um", LengthUnit::um}};
    for (const auto& [n, u] : names) {
        if (n == name) {
            unit = u;
            return true;
        }
    }
    return false;
}

std::string_view length_unit_name(LengthUnit unit) {
    switch (unit) {
    case LengthUnit::in: return "in";
    case LengthUnit::mil: return "mil";
    case LengthUnit::mm: return "mm";
    case LengthUnit::um: return "um";
    }
    return "in";
}

std::string_view loss_unit_name(LengthUnit unit) {
    return unit == LengthUnit::in || unit == LengthUnit::mil ? "dB/in" : "dB/m";
}

float length_from_inches(float inches, LengthUnit unit) {
    const double x = static_cast<double>(inches);
    switch (unit) {
    case LengthUnit::in: return inches;
    case LengthUnit::mil: return static_cast<float>(x * 1000.0);
    case LengthUnit::mm: return static_cast<float>(x * 254.0 / 10.0);  // x * 254 is exact
    case LengthUnit::um: return static_cast<float>(x * 25400.0);
    }
    return inches;
}

float loss_from_db_per_inch(float db_per_inch, LengthUnit unit) {
    if (unit == LengthUnit::in || unit == LengthUnit::mil) return db_per_inch;
    // 39.37... inches to the metre; x * 10000 is exact, one rounding after.
    return static_cast<float>(static_cast<double>(db_per_inch) * 10000.0 / 254.0);
}

}  // namespace ferravane::cli
