#include "cli/cli.hpp"

#include <ostream>
#include <string>
#include <vector>

#include "cli/arguments.hpp"
#include "cli/handle_buf.hpp"
#include "cli/help.hpp"
#include "cli/output.hpp"
#include "cli/rows.hpp"
#include "cli/text.hpp"

namespace ferravane::cli {
namespace {

constexpr std::string_view kCannotWrite = "ferravane: cannot write standard output\n";

// Text that is the whole output: status 0, or 2 when it cannot be written.
int print(std::string_view text, std::ostream& out, std::ostream& err) {
    if (out.write(text.data(), static_cast<std::streamsize>(text.size())).flush()) return 0;
    err << kCannotWrite;
    return 2;
}

// Why the rows of each status other than ok are as they are.
void explain(const Totals& totals, bool field, std::string_view who, std::ostream& err) {
    const std::string of = cat(" of ", std::to_string(totals.rows), " rows ");
    auto line = [&](std::int64_t n, std::string_view why) {
        if (n > 0) err << who << ": " << n << of << why << '\n';
    };
    using engine::Unrealised;
    line(totals.count(Unrealised::too_narrow), field ? "not realisable: the strip would be narrower than 1e-4 B"
                                                     : "not realisable: the strip would be narrower than 0.0009 inch");
    line(totals.count(Unrealised::no_width), "not realisable: the width search found no strip with that impedance");
    line(totals.count(Unrealised::too_wide), "not realisable: the strip would be wider than 20 B");
    line(totals.count(Unrealised::gap_too_narrow), "not realisable: the gap would be narrower than 1e-4 B");
    line(totals.count(Unrealised::gap_too_wide),
         "not realisable: the gap would be wider than 20 B (the strips too weakly coupled)");
    line(totals.count(Unrealised::bad_target),
         "not realisable: no pair gives those impedances (Z_even must be above Z_odd)");
    line(totals.count(Unrealised::no_convergence), "not realisable: the search did not settle");
    line(totals.count(Status::not_finite), "with values that are not finite numbers (status not_finite)");
    line(totals.count(Status::infinite_conductor_loss),
         "without a conductor loss: a strip of zero thickness has none that is finite (give --t)");
    line(totals.count(Status::off_target),
         "off target by 0.1 % or more: the zero-thickness model draws no strip wider than W/B 5.3, and "
         "near that only coarse widths (see zo_realised)");
    line(totals.count(Status::tolerance_too_wide),
         "without a tolerance window: the width tolerance reaches the strip width");
    line(totals.count(Status::window_reaches_zero),
         "without a tolerance window: the window reaches 0 ohm");
}

}  // namespace

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
    if (parsed.action == Parsed::Action::help) return print(help_text(parsed.command), out, err);
    if (parsed.action == Parsed::Action::version) return print(version_text(), out, err);

    const Request& req = parsed.request;
    const auto writer = make_writer(out, req);
    writer->begin();
    const Totals totals = compute_rows(req, [&](const Row& row) {
        writer->row(row);
        return static_cast<bool>(out) && writer->ok();
    });
    if (out && writer->ok()) writer->end();
    if (!out.flush()) {
        err << kCannotWrite;
        return 2;
    }
    if (!writer->ok()) {
        err << writer->error();
        return 2;
    }
    explain(totals, req.field(), cat("ferravane ", command_name(req.command)), err);
    return totals.all_ok() ? 0 : 1;
}

int run_main(int argc, char** argv) {
    std::vector<std::string_view> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    // Straight to the handles, so a failed write is seen at once and bytes
    // pass unchanged on every system.
    HandleBuf out_buf(platform::standard_output(), 1 << 16);
    HandleBuf err_buf(platform::standard_error(), 1 << 12);
    std::ostream out(&out_buf);
    std::ostream err(&err_buf);
    const int status = run(args, out, err);
    err.flush();
    return status;
}

}  // namespace ferravane::cli
