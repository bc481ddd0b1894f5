// The values of --w, --zo and --f: one value, a comma list, or ranges
// START:STOP:STEP, in any mix. A range has the rows the dialog gives for
// the same range: the whole steps that fit below STOP with a tolerance of
// a ten-thousandth of a step, each point il * STEP + START rounded once.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "cli/units.hpp"

namespace ferravane::cli {

// One value (points 1, step 0) or one range.
struct Sweep {
    float start = 0.0f;
    float step = 0.0f;
    std::int64_t points = 1;

    float at(std::int64_t i) const;
};

struct ValueSet {
    std::vector<Sweep> parts;

    std::int64_t size() const;
    // Calls f with every value in order while it returns true; false when
    // f stopped it.
    template <typename F>
    bool for_each(F&& f) const {
        for (const Sweep& s : parts) {
            for (std::int64_t i = 0; i < s.points; ++i) {
                if (!f(s.at(i))) return false;
            }
        }
        return true;
    }
};

// Reads the text as values of q in the model's unit. Every value, range
// start and step must be above 0, a range may not stop below its start,
// and either every number carries a unit or none does. what names the
// quantity in messages ("the strip width"). Throws UsageError.
ValueSet read_value_set(std::string_view text, Quantity q, std::string_view what);

}  // namespace ferravane::cli
