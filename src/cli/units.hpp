// Numbers with units, read into the model's units (inches, MHz, ohms,
// micro-inches of roughness) and written back in the chosen length unit.
//
// Conversion constants, all exact: 1 inch = 25.4 mm = 25400 um = 1000 mil;
// 1 MHz = 1e6 Hz = 1e3 kHz = 1e-3 GHz; 1 micro-inch = 0.0254 um.
// Units that are a power of ten away from the model's unit shift the
// decimal exponent of the typed number, so "62mil" is exactly the float of
// "0.062" and "2.4GHz" that of "2400". The metric lengths are read in
// double, divided by 254 (25.4 mm to the inch with the decimal point moved)
// and rounded to float once.
#pragma once

#include <string>
#include <string_view>

namespace ferravane::cli {

enum class Quantity {
    length,     // inches; in, mil, mm, um
    frequency,  // MHz; Hz, kHz, MHz, GHz
    roughness,  // micro-inches; uin, um
    impedance,  // ohms; ohm
    number,     // no unit
};

struct Reading {
    float value = 0.0f;     // in the model's unit
    bool has_unit = false;  // a unit was written after the number
};

// Reads one number with an optional unit (case does not matter; "µ" may
// stand for "u"). Throws UsageError for text that is not a number, an
// unknown unit, or a value out of the float range (too large, or so small
// that it would read as 0). -0 reads as 0.
Reading read_quantity(std::string_view text, Quantity q);

// A plain number, in double: the numbers of read_quantity without a unit.
// Throws UsageError.
double read_double(std::string_view text);

// The model's unit of q as a bare number means it, for messages.
std::string_view default_unit(Quantity q);

enum class LengthUnit { in, mil, mm, um };

// "in", "mil", "mm", "um"; false for anything else.
bool length_unit_named(std::string_view name, LengthUnit& unit);
// "in, mil, mm or um", for messages.
std::string length_units_listed();
std::string_view length_unit_name(LengthUnit unit);

// Loss is per inch for in and mil, per metre for mm and um.
std::string_view loss_unit_name(LengthUnit unit);  // "dB/in" or "dB/m"

// Conversions of model results for display, in double and rounded once.
float length_from_inches(float inches, LengthUnit unit);
float loss_from_db_per_inch(float db_per_inch, LengthUnit unit);

}  // namespace ferravane::cli
