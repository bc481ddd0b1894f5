// A whole run on arbitrary bytes. Byte 0 picks the defaults file: the
// shipped one (answers = the rest), one taken from the input (the bytes
// before the first "~~~~\n" are the file, the bytes after it the answers),
// or none at all. Report files are written into the scratch work folder;
// '/' is steered out of answers and file so that every name the run can
// open is an entry of that folder, and the check that nothing appeared
// beside it is exact.
#include <cstdint>
#include <string>
#include <string_view>

#include "harness.hpp"
#include "scratch.hpp"

namespace {

using namespace ferravane::fuzzing;

constexpr std::string_view kSeparator = "~~~~\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const unsigned mode = data[0] % 4u;
    const bool has_defaults = mode != 3;
    std::string defaults;
    std::string answers;
    if (mode == 2) {
        const auto sep = rest.find(kSeparator);
        defaults = steer_names(rest.substr(0, sep));
        if (sep != std::string_view::npos) answers = steer_names(rest.substr(sep + kSeparator.size()));
    } else {
        if (has_defaults) defaults = ferravane::testing::shipped_defaults();
        answers = steer_names(rest);
    }

    Scratch& dir = process_scratch();
    dir.prepare(has_defaults ? &defaults : nullptr);
    const Outcome r = run_session(dir, answers);

    check_status_and_err(r);
    check_console(r);
    for (const Scratch::Entry& e : dir.after_run()) {
        check(e.regular, "the run creates regular files only", e.name);
        if (e.name != "Ferravane.DEF") check_report(r, e.name, e.bytes);
    }
    return 0;
}
