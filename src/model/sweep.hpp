// How a sweep's rows are counted and where its points lie. Shared by every
// front end, so the same range always gives the same rows.
#pragma once

#include <cstdint>

namespace ferravane::model {

// Truncation toward zero. A value that is not a number or does not fit a
// 32-bit integer gives -2147483648, as the processor's own conversion does.
std::int32_t truncate_to_int(float value);

// Whole steps from start that fit below stop plus a tolerance: the sum
// (stop - start) / step + tolerance is computed wide, stored as a float and
// then truncated. The range dialogs use a tolerance of 0.0001 step; the
// accumulated impedance sweep counts its rows with 0.1.
inline constexpr float kStepTolerance = 0.0001f;
inline constexpr float kRowTolerance = 0.1f;
std::int32_t step_count(float start, float stop, float step, float tolerance = kStepTolerance);

// The point il of a sweep: the exact value of il * step + start, rounded
// once to the nearest float (ties to even), for any il from 0 to 2^31.
// Computed from IEEE double operations alone, so no platform's fused
// multiply-add is involved.
float sweep_point(std::int64_t il, float step, float start);

}  // namespace ferravane::model
