#include "session.hpp"

#include "run/driver.hpp"
#include "state/session.hpp"
#include "scratch.hpp"

namespace ferravane::testing {

RunResult run_session(const std::string& answers, const std::string* defaults,
                      const std::map<std::string, std::string>& extra_files) {
    ScratchDir dir;
    if (defaults != nullptr) dir.put("Ferravane.DEF", *defaults);
    for (const auto& [name, bytes] : extra_files) dir.put(name, bytes);

    RunResult result;
    {
        textio::StringSource source(answers);
        textio::InStream in(source);
        textio::StringSink sink;
        textio::OutStream out(sink);
        textio::Console console(in, out);
        state::Session io{console, dir.folder(), [] { return kFixedClock; }, nullptr};
        result.status = run::run_program(io, result.err);
        result.console = sink.data();
    }
    result.files = dir.files();
    return result;
}

}  // namespace ferravane::testing
