#include "cli/units.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <span>
#include <system_error>

#include "cli/text.hpp"
#include "cli/usage_error.hpp"

namespace ferravane::cli {
namespace {

// A unit: its name as listed, the power of ten between it and the model's
// unit, whether it is metric (then divide by 254: 25.4 mm to the inch),
// and for lengths the factor that writes inches in it again (times mul,
// divided by div, in double).
struct Unit {
    std::string_view name;
    int shift;
    bool per_254;
    bool listed = true;  // named in messages; else another spelling
    double mul = 1.0, div = 1.0;
};

// In the order of LengthUnit.
constexpr Unit kLength[] = {{"in", 0, false, true, 1.0, 1.0},
                            {"mil", -3, false, true, 1000.0, 1.0},
                            {"mm", 1, true, true, 254.0, 10.0},  // x * 254 is exact
                            {"um", -2, true, true, 25400.0, 1.0}};
constexpr Unit kFrequency[] = {{"Hz", -6, false}, {"kHz", -3, false}, {"MHz", 0, false}, {"GHz", 3, false}};
constexpr Unit kRoughness[] = {{"uin", 0, false}, {"um", 4, true}};
constexpr Unit kImpedance[] = {{"ohm", 0, false}, {"ohms", 0, false, false}};

std::span<const Unit> units_of(Quantity q) {
    switch (q) {
    case Quantity::length: return kLength;
    case Quantity::frequency: return kFrequency;
    case Quantity::roughness: return kRoughness;
    case Quantity::impedance: return kImpedance;
    case Quantity::number: break;
    }
    return {};
}

// "in, mil, mm or um": the listed names, for messages.
std::string listed(std::span<const Unit> units) {
    std::string out;
    std::size_t left = 0;
    for (const Unit& u : units) left += u.listed ? 1 : 0;
    for (const Unit& u : units) {
        if (!u.listed) continue;
        --left;
        out += u.name;
        if (left > 1) out += ", ";
        if (left == 1) out += " or ";
    }
    return out;
}

std::string lower(std::string_view text) {
    std::string out;
    for (char c : text) out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return out;
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
    // The micro sign (U+00B5) and Greek mu (U+03BC) read as u.
    if (unit.starts_with("\xC2\xB5") || unit.starts_with("\xCE\xBC")) return cat("u", lower(unit.substr(2)));
    return lower(unit);
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
        const std::span<const Unit> units = units_of(q);
        if (units.empty()) not_a_number(text);
        const std::string key = lower_unit(unit_text);
        const Unit* found = nullptr;
        for (const Unit& u : units) {
            if (lower(u.name) == key) found = &u;
        }
        if (found == nullptr) {
            throw UsageError(
                cat("unknown unit ", quoted(unit_text), " in ", quoted(text), " (use ", listed(units), ")"));
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
    for (std::size_t i = 0; i < std::size(kLength); ++i) {
        if (kLength[i].name == name) {
            unit = static_cast<LengthUnit>(i);
            return true;
        }
    }
    return false;
}

std::string length_units_listed() { return listed(kLength); }

std::string_view length_unit_name(LengthUnit unit) { return kLength[static_cast<std::size_t>(unit)].name; }

std::string_view loss_unit_name(LengthUnit unit) {
    return unit == LengthUnit::in || unit == LengthUnit::mil ? "dB/in" : "dB/m";
}

float length_from_inches(float inches, LengthUnit unit) {
    const Unit& u = kLength[static_cast<std::size_t>(unit)];
    return static_cast<float>(static_cast<double>(inches) * u.mul / u.div);
}

float loss_from_db_per_inch(float db_per_inch, LengthUnit unit) {
    if (unit == LengthUnit::in || unit == LengthUnit::mil) return db_per_inch;
    // 39.37... inches to the metre; x * 10000 is exact, one rounding after.
    return static_cast<float>(static_cast<double>(db_per_inch) * 10000.0 / 254.0);
}

}  // namespace ferravane::cli
