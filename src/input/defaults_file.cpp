#include "input/defaults_file.hpp"

#include <optional>
#include <string>

#include "textio/layout.hpp"
#include "textio/numeric_field.hpp"

namespace ferravane::input {
namespace {

using textio::Layout;
using textio::ReadStatus;

// When a numeric record is rejected; "prev" is the record read just before
// (the maximum that a minimum must not exceed, B for T).
enum class Fault {
    negative,             // < 0
    not_positive,         // <= 0
    below_one,            // < 1
    negative_or_above,    // < 0, or above prev
    not_positive_above,   // <= 0, or above prev
    negative_or_not_below // < 0, or not below prev
};

bool faulty(Fault fault, float v, float prev) {
    switch (fault) {
        case Fault::negative: return v < 0.0f;
        case Fault::not_positive: return v <= 0.0f;
        case Fault::below_one: return v < 1.0f;
        case Fault::negative_or_above: return v < 0.0f || v > prev;
        case Fault::not_positive_above: return v <= 0.0f || v > prev;
        case Fault::negative_or_not_below: return v < 0.0f || !(v < prev);
    }
    return false;
}

struct NumericRecord {
    const char* label;
    Fault fault;
    float* working;  // FMAX and WMAX have no working field: locals, for the next record's test
    float* copy;
};

void message(state::Session& io, const char* first, const char* second, const char* label) {
    Layout lay;
    lay.x(6).lit(first).end();
    lay.x(6).lit(second).a(11, textio::Text20::from(label).view()).end();
    io.console.write(lay);
}

void end_of_file(state::DesignState& s, state::Session& io, const char* label) {
    s.blk2.isel = -1;
    message(io, "End of file in FERRAVANE default data file",
            "(Ferravane.DEF). Entry missing for variable ", label);
}

void error_in(state::DesignState& s, state::Session& io, const char* label) {
    s.blk2.isel = -1;
    message(io, "Error exists in FERRAVANE default data file",
            "(Ferravane.DEF). Fix entry for variable ", label);
}

}  // namespace

void read_defaults_file(state::DesignState& s, state::Session& io) {
    io.defaults = std::make_unique<textio::DefaultsFile>(io.folder);
    textio::InStream& in = io.defaults->stream();
    auto& b1 = s.blk1;
    auto& b2 = s.blk2;
    auto& d4 = s.blk4;
    auto& d5 = s.blk5;

    // Record 1, the title line, is not used. A read error counts as a
    // faulty record, handed back here without a run stop.
    switch (in.skip_line()) {
        case ReadStatus::ok: break;
        case ReadStatus::end: end_of_file(s, io, "1st line."); return;
        case ReadStatus::error: error_in(s, io, "1st line."); return;
    }

    float fmax = 0.0f;
    float wmax = 0.0f;
    const NumericRecord records[] = {
        {"F.", Fault::negative, &b1.fdef, &d4.fdefdef},
        {"FMAX.", Fault::negative, &fmax, &d4.fmaxdef},
        {"FMIN.", Fault::negative_or_above, &b2.fmin, &d4.fmindef},
        {"FSTEP.", Fault::not_positive, &b2.fstep, &d4.fstepdef},
        {"ER.", Fault::below_one, &b2.er, &d5.erdef},
        {"B.", Fault::not_positive, &b2.b, &d5.bdef},
        {"T.", Fault::negative_or_not_below, &b2.t, &d5.tdef},
        {"TLOS.", Fault::negative, &b2.tlos, &d5.tlosdef},
        {"W.", Fault::not_positive, &b2.wdef, &d5.wdefdef},
        {"WMAX.", Fault::not_positive, &wmax, &d5.wmaxdef},
        {"WMIN.", Fault::not_positive_above, &b1.wmin, &d5.wmindef},
        {"WSTEP.", Fault::not_positive, &b1.wstep, &d5.wstepdef},
        {"ZMAX.", Fault::not_positive, &b1.zmax, &d4.zmaxdef},
        {"ZMIN.", Fault::not_positive_above, &b1.zmin, &d4.zmindef},
        {"ZSTEP.", Fault::not_positive, &b1.zstep, &d4.zstepdef},
    };

    std::string field;
    float prev = 0.0f;
    int index = 0;
    for (const NumericRecord& r : records) {
        const ReadStatus status = in.take_field(textio::kNumericWidth, true, field);
        if (status == ReadStatus::end) return end_of_file(s, io, r.label);
        const auto value = status == ReadStatus::ok ? textio::parse_numeric(field) : std::nullopt;
        if (!value || faulty(r.fault, *value, prev)) return error_in(s, io, r.label);
        *r.working = *value;
        *r.copy = *value;
        prev = *value;
        // The menus have fixed defaults; their copies are cleared once the
        // frequency records are in.
        if (++index == 4) {
            d5.res1def = 0.0f;
            d5.sr1def = 0.0f;
        }
    }

    const ReadStatus status = in.take_field(textio::kTextWidth, false, field);
    if (status == ReadStatus::end) return end_of_file(s, io, "FN.");
    const textio::Text20 name = textio::Text20::from(field);
    if (status != ReadStatus::ok || name.blank()) return error_in(s, io, "FN.");
    b2.fndef = name;
}

}  // namespace ferravane::input
