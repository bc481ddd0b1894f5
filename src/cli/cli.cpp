#include "cli/cli.hpp"

#include <iostream>
#include <string>
#include <vector>

#include "cli/arguments.hpp"
#include "cli/help.hpp"
#include "cli/output.hpp"
#include "cli/rows.hpp"
#include "cli/text.hpp"

namespace ferravane::cli {

int run(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
    Parsed parsed;
    try {
        parsed = parse_arguments(args);
    } catch (const CommandError& e) {
        const std::string who =
            e.command ? cat("ferravane ", command_name(*e.command)) : std::string("ferravane");
        err << who << ": " << e.message << "; try '" << who << " --help'\n";
        return 2;
    }
    if (parsed.action == Parsed::Action::help) {
        out << help_text(parsed.command);
        return out.flush() ? 0 : 2;
    }
    if (parsed.action == Parsed::Action::version) {
        out << version_text();
        return out.flush() ? 0 : 2;
    }

    const Request& req = parsed.request;
    const auto writer = make_writer(out, req);
    writer->begin();
    const Totals totals = compute_rows(req, [&](const Row& row) {
        writer->row(row);
        return static_cast<bool>(out);
    });
    writer->end();
    if (!out.flush()) {
        err << "ferravane: cannot write standard output\n";
        return 2;
    }
    const std::string who = cat("ferravane ", command_name(req.command), ": ");
    const std::string of = cat(" of ", std::to_string(totals.rows), " rows ");
    if (totals.unrealisable > 0) {
        err << who << totals.unrealisable << of
            << "not realisable: the strip would be narrower than 0.0009 inch\n";
    }
    if (totals.tolerance_too_wide > 0) {
        err << who << totals.tolerance_too_wide << of
            << "without a tolerance window: the width tolerance reaches the strip width\n";
    }
    return totals.unrealisable > 0 || totals.tolerance_too_wide > 0 ? 1 : 0;
}

int run_main(int argc, char** argv) {
    std::vector<std::string_view> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    std::ios::sync_with_stdio(false);
    return run(args, std::cout, std::cerr);
}

}  // namespace ferravane::cli
