// What the formulas compute from B and T, or from Er, alone: the same for
// every strip of a line, so the row engine computes it once a table. Each
// value is the one the formula's own step computes, held as that step
// holds it (a stored float, or a double inside a step), so the parts that
// take it give the very same bits as the routines that compute it afresh.
#pragma once

namespace ferravane::model {

// Of B and T (slzo's finite-thickness form, and its inverse in slwb's
// estimate).
struct ZoLine {
    float b = 0.0f, t = 0.0f;
    bool thick = false;         // T is not 0: Wheeler's form
    float x = 0.0f;             // T/B, stored
    float temp = 0.0f;          // x / (1 - x), stored
    float am = 0.0f;            // the exponent m, stored
    double r_squared = 0.0;     // (x / (2 - x))^2
    double correction = 0.0;    // 0.0796 x
    double correction_w = 0.0;  // 1.1 x
    double temp_over_pi = 0.0;  // temp / pi
    double b_minus_t = 0.0;     // B - T
    double inverse_b = 0.0;     // 1 / B
    double inverse_t = 0.0;     // 1 / T (sllos)
    // And of the inverse form (slwb's estimate):
    double correction_inverse = 0.0;  // 0.26 x
    double x_over_pi = 0.0;           // x / pi
    double width_factor = 0.0;        // 8 (1 - x) / pi
};
ZoLine zo_line(float b, float t);

// Of Er (slzo's last step).
struct ZoMedium {
    float er = 1.0f;
    double root_er = 1.0;              // sqrt(Er)
    double thirty_over_root_er = 30.0;  // 30 / sqrt(Er)
};
ZoMedium zo_medium(float er);

// A line's parts: its own, the two that slsen perturbs (B and T each
// raised by 0.1 %), its dielectric and air.
struct LineParts {
    ZoLine line, b_raised, t_raised;
    ZoMedium medium, air;
};
LineParts line_parts(float b, float er, float t);

}  // namespace ferravane::model
