// The defaults-file reader on arbitrary bytes, through a whole run. Byte 0
// picks the console input: none, blank answers only (a synthesis with loss
// on the file's values), or an analysis with blank answers. The outcome is
// predicted from the record rules written out once more.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "harness.hpp"
#include "texts.hpp"
#include "textio/numeric_field.hpp"

namespace {

using namespace ferravane::fuzzing;

struct Verdict {
    bool accepted = false;
    bool end_of_file = false;
    std::string label;
};

// Records 2 to 16 with their labels and the conditions that reject them;
// prev is the value of the record just before.
Verdict predict(std::string_view bytes) {
    LineModel rec(bytes);
    if (!rec.skip()) return {false, true, "1st line."};
    struct Rule {
        const char* label;
        bool (*faulty)(float v, float prev);
    };
    static constexpr Rule rules[] = {
        {"F.", [](float v, float) { return v < 0.0f; }},
        {"FMAX.", [](float v, float) { return v < 0.0f; }},
        {"FMIN.", [](float v, float fmax) { return v < 0.0f || v > fmax; }},
        {"FSTEP.", [](float v, float) { return v <= 0.0f; }},
        {"ER.", [](float v, float) { return v < 1.0f; }},
        {"B.", [](float v, float) { return v <= 0.0f; }},
        {"T.", [](float v, float b) { return v < 0.0f || !(v < b); }},
        {"TLOS.", [](float v, float) { return v < 0.0f; }},
        {"W.", [](float v, float) { return v <= 0.0f; }},
        {"WMAX.", [](float v, float) { return v <= 0.0f; }},
        {"WMIN.", [](float v, float wmax) { return v <= 0.0f || v > wmax; }},
        {"WSTEP.", [](float v, float) { return v <= 0.0f; }},
        {"ZMAX.", [](float v, float) { return v <= 0.0f; }},
        {"ZMIN.", [](float v, float zmax) { return v <= 0.0f || v > zmax; }},
        {"ZSTEP.", [](float v, float) { return v <= 0.0f; }},
    };
    float prev = 0.0f;
    for (const Rule& r : rules) {
        const auto f = rec.field(13, true);
        if (!f) return {false, true, r.label};
        const auto v = ferravane::textio::parse_numeric(*f);
        if (!v || r.faulty(*v, prev)) return {false, false, r.label};
        prev = *v;
    }
    const auto name = rec.field(20, false);
    if (!name) return {false, true, "FN."};
    if (name->find_first_not_of(' ') == std::string::npos) return {false, false, "FN."};
    return {true, false, ""};
}

std::string message_for(const Verdict& v) {
    return ferravane::testing::texts::defaults_message(v.end_of_file, v.label);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view def(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string answers;
    switch (data[0] % 3) {
        case 0: break;
        case 1: answers.assign(40, '\n'); break;
        default: answers = "1\n" + std::string(40, '\n'); break;
    }

    Scratch& dir = process_scratch();
    const std::string def_bytes(def);
    dir.prepare(&def_bytes);
    const Outcome r = run_session(dir, answers);

    check_status_and_err(r);
    check_console(r);
    const Verdict v = predict(def);
    if (!v.accepted) {
        check(r.status == 0 && r.console == message_for(v),
              "a faulty defaults file gives its message and a normal end", r.console);
    } else {
        check(r.console.rfind("\r\n\r\n              ", 0) == 0 && !is_defaults_message(r.console),
              "an accepted defaults file leads to the banner", r.console);
        if (answers.empty()) {
            check(r.status == 2 && r.err.substr(r.err.find('\n') + 1) == "End of file\n",
                  "no answers: the run stops at the first prompt", r.err);
        }
    }

    const auto entries = dir.after_run();
    check(entries.size() == 1, "no file but the defaults file in the folder");
    return 0;
}
