#include "cli/value_set.hpp"

#include <limits>
#include <string>

#include "cli/text.hpp"
#include "cli/usage_error.hpp"
#include "model/sweep.hpp"

namespace ferravane::cli {
namespace {

std::vector<std::string_view> split(std::string_view text, char sep) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t p = text.find(sep);
        parts.push_back(text.substr(0, p));
        if (p == std::string_view::npos) return parts;
        text.remove_prefix(p + 1);
    }
}

}  // namespace

float Sweep::at(std::int64_t i) const {
    return points == 1 ? start : model::sweep_point(i, step, start);
}

std::int64_t ValueSet::size() const {
    std::int64_t n = 0;
    for (const Sweep& s : parts) n += s.points;
    return n;
}

ValueSet read_value_set(std::string_view text, Quantity q, std::string_view what) {
    if (text.empty()) throw UsageError("missing value");
    ValueSet set;
    int with_unit = 0;
    int without_unit = 0;
    auto read = [&](std::string_view part) {
        if (part.empty()) throw UsageError(cat("empty value in ", quoted(text)));
        const Reading r = read_quantity(part, q);
        ++(r.has_unit ? with_unit : without_unit);
        return r.value;
    };
    auto positive = [&](float v, std::string_view typed, std::string_view name) {
        if (!(v > 0.0f)) {
            throw UsageError(cat(name, " must be above 0 (got ", quoted(typed), ")"));
        }
    };

    for (std::string_view item : split(text, ',')) {
        const std::vector<std::string_view> r = split(item, ':');
        if (r.size() == 1) {
            const float v = read(item);
            positive(v, item, what);
            set.parts.push_back({v, 0.0f, 1});
            continue;
        }
        if (r.size() != 3) {
            throw UsageError(cat(quoted(item), " is not a range START:STOP:STEP"));
        }
        const float start = read(r[0]);
        const float stop = read(r[1]);
        const float step = read(r[2]);
        positive(start, r[0], what);
        positive(step, r[2], "the step of a range");
        if (stop < start) {
            throw UsageError(cat("the range ", quoted(item), " stops below its start"));
        }
        const std::int32_t l = model::step_count(start, stop, step);
        if (l < 0) {
            throw UsageError(cat("the range ", quoted(item), " has more than ",
                                 std::to_string(std::numeric_limits<std::int32_t>::max()), " steps"));
        }
        set.parts.push_back({start, step, static_cast<std::int64_t>(l) + 1});
    }
    if (with_unit > 0 && without_unit > 0) {
        throw UsageError(cat("give a unit on every number of ", quoted(text),
                             " or on none (a bare number is in ", default_unit(q), ")"));
    }
    return set;
}

}  // namespace ferravane::cli
