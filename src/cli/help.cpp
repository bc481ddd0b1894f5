#include "cli/help.hpp"

#include <charconv>
#include <vector>

#include "cli/text.hpp"
#include "model/materials.hpp"

namespace ferravane::cli {
namespace {

constexpr std::string_view kProgram = R"(Usage: ferravane                          the interactive dialog
       ferravane analyze OPTIONS          impedances from widths
       ferravane synthesize OPTIONS       widths (and gaps) from impedances
       ferravane COMMAND --help           the options of a command
       ferravane --version

Ferravane computes stripline transmission lines: a strip of width W and
thickness T between ground planes spaced B apart, in a dielectric of
constant Er. The dialog and the default of the commands take a single
strip centred between the planes, by the closed forms; the commands also
take an edge-coupled pair (--s) or a strip off centre (--h), by a 2-D field
solver (--solver field), and write their rows as text, CSV, JSON or a
Touchstone file of a section of the line. Without arguments the program
asks its questions on the console.

Examples:
  ferravane analyze --b 0.25 --er 2.2 --w 0.2026 --t 0.0014
  ferravane synthesize --b 62mil --er 4.3 --zo 25:100:5 --t 1.4mil --format csv
  ferravane synthesize --b 62mil --er 4.3 --t 1.4mil --zdiff 100 --s 6mil

Exit status: 0 every row ok; 1 some row with another status (see a
command's --help); 2 a usage error (one line on standard error, nothing on
standard output) or an output that could not be written.
)";

constexpr std::string_view kAnalyzeUsage = R"(Usage: ferravane analyze --b B --er ER --w W [--t T] [--s S] [--h H] [OPTIONS]

The characteristic impedance Zo of each strip width W, with W/B, the TE11
cutoff and the normalised sensitivities of Zo to B, Er, W and T; with --f
also the wavelengths, the unloaded Q and the losses at each frequency.
With --s the line is an edge-coupled pair: its odd, even, differential
and common impedances and coupling, and the losses of each mode; with --h
the strip lies off centre. Both take the field solver.

Line:
  --b B           ground-plane spacing (required, above 0)
  --er ER         relative dielectric constant (required, at least 1)
  --w W           strip width (required, above 0): a value, a list
                  W1,W2,... or a range START:STOP:STEP
)";

constexpr std::string_view kSynthesizeUsage = R"(Usage: ferravane synthesize --b B --er ER TARGET [--t T] [OPTIONS]

The strip widths (and a pair's gap) for impedances, with what analyze
gives for the strip drawn. TARGET, each impedance a value, a list or a
range (--zo, --zdiff, --zodd) or one value (--zcommon, --zeven):
  --zo ZO               a single strip's width (the dialog's width search,
                        within 0.1 % of Zo; with --h off centre, by the
                        field solver within 0.0001 %)
  --zdiff Z --s S       a pair's width for Z_diff at the gap S
  --zdiff Z --w W       a pair's gap for Z_diff at the width W
  --zdiff Z --zcommon Z a pair's width and gap for Z_diff and Z_common
  --zodd Z --zeven Z    a pair's width and gap for Z_odd and Z_even
An impedance no strip can give keeps its row, with the status
"unrealisable", empty numbers and a line on standard error saying why;
a single strip's row gives zo_realised, the impedance of the strip drawn,
and a pair's the impedances of the pair drawn beside the targets.

Line:
  --b B           ground-plane spacing (required, above 0)
  --er ER         relative dielectric constant (required, at least 1)
)";

constexpr std::string_view kLineOptions = R"(  --t T           strip thickness (default 0, at least 0 and below B)
  --s S           edge-to-edge gap: the line is an edge-coupled pair
  --h H           height of the strips' lower face above the lower plane
                  (default: centred, (B - T) / 2)
  --solver S      model (the closed forms: the default for a single
                  centred strip) or field (the 2-D field solver: the
                  default with --s or --h; on a centred strip it adds
                  zo_model, the closed forms' Zo, and zo_model_error, %)
  --tand D        dielectric loss tangent (default 0)
)";

constexpr std::string_view kCommonOptions = R"(
Results:
  --f F           frequencies for the losses: a value, a list or a range
  --tol LIST      tolerance window, e.g. b=2%,t=10%,er=0.05,w=0.5mil:
                  each of b, t, er, w (and s of a pair, h off centre)
                  relative in % or absolute (lengths with a unit); gives
                  zo_min/max (the impedance at the corners; a pair's
                  z_diff_min/max and z_common_min/max) and, by the closed
                  forms, zo_lin_min/max (worst case from the sensitivities)
                  and zo_rss_min/max (root-sum-square)
  --units U       output lengths in in (default), mil, mm or um; losses in
                  dB per inch for in and mil, dB per metre for mm and um
  --format F      text (default, 6 significant digits), csv, json (every
                  number in the shortest form that reads back to the same
                  32-bit float) or touchstone (S-parameters, see below)
  -h, --help      this help

Touchstone (--format touchstone): the S-parameters of a section of each
line, a .s2p for a strip (port 1 one end, port 2 the other) and a .s4p for
a pair (1 -> 2 one strip, 3 -> 4 the other), at the frequencies of --f,
which must rise; the comment lines say how the file was made.
  --length L      the section's length (required)
  --touchstone V  1.1 (default) or 2 (version 2.0; a pair in mixed-mode
                  form, differential and common)
  --z0 Z          reference impedance of every port (default 50 ohm)
  --dielectric M  constant (default: Er and tan d at every frequency, as
                  the losses of the other formats) or djordjevic (the
                  wideband Debye model, causal, Er and tan d at --f-ref)
  --f-ref F       where Er and tan d hold for djordjevic (default 1GHz)
  --output NAME   the file (default standard output); several lines make
                  NAME-1, NAME-2, ... (the extension added when missing)
In Python, scikit-rf reads version 1.1 files: skrf.Network("line.s2p").

Units: lengths 0.25 or 0.25in, 62mil, 1.575mm, 35um (bare: inches);
frequencies 1000 (bare: MHz), 500MHz, 2.4GHz, 1e9Hz; roughness 2.5uin or
0.5um. In a list or a range give a unit on every number or on none. A
range has the rows of the dialog's tables: the whole steps from START that
fit below STOP plus a ten-thousandth of a step. Options take their value
as the next argument or after '=' (--b=0.25).

Columns of a single strip: w, w_over_b, zo, [zo_realised], [zo_model,
zo_model_error], te11_ghz (centred), [f_mhz, lambda0, lambdag, q,
loss_conductor, loss_dielectric, loss_total], s_b, s_er, s_w, s_t (closed
forms), status, [window]. Of a pair: w, s, w_over_b, z_odd, z_even,
z_diff, z_common, coupling, [targets], [f_mhz, lambda0, lambdag, q_odd,
q_even, loss_conductor_odd, loss_conductor_even, loss_dielectric,
loss_total_odd, loss_total_even], status, [window]. CSV headers add the
unit (w_in, zo_ohm, loss_total_db_per_in); JSON has a "units" object.
Losses are positive dB of attenuation.

Status of a row (the first that applies):
  ok                       every value computed and finite
  unrealisable             no strip gives the impedance (standard error
                           says why); only the inputs are shown
  not_finite               some value is not a finite number (inf or nan
                           in text and CSV, null in JSON)
  off_target               the strip drawn misses the target by 0.1 % or
                           more (the zero-thickness model's widest strips,
                           W/B above about 4.4; see zo_realised)
  infinite_conductor_loss  the field solver's strip of zero thickness has
                           no finite conductor loss: its loss, total and Q
                           are empty
  tolerance_exceeds_width  the width tolerance reaches zero width: no window
  window_reaches_zero      the window reaches 0 ohm or below: none is shown

Exit status: 0 every row ok; 1 some row with another status (a line on
standard error counts them); 2 a usage error (one line on standard error,
nothing on standard output) or an output that could not be written.
)";

constexpr std::string_view kAnalyzeExamples = R"(
Examples:
  ferravane analyze --b 0.25 --er 2.2 --w 0.2026 --t 0.0014
  ferravane analyze --b 62mil --er 4.3 --t 1.4mil --w 10mil:40mil:5mil \
      --format csv
  ferravane analyze --b 1.575mm --er 3.66 --w 1.2mm --f 1GHz:10GHz:1GHz \
      --tand 0.0037 --units mm
  ferravane analyze --b 0.25 --er 2.2 --w 0.2 --tol b=2%,er=0.05,w=0.5mil
  ferravane analyze --b 62mil --er 4.3 --t 1.4mil --w 5mil --s 6mil \
      --f 10GHz --tand 0.02 --tol w=0.5mil,s=0.5mil
  ferravane analyze --b 62mil --er 4.3 --t 1.4mil --w 10mil --h 20mil
  ferravane analyze --b 0.25 --er 2.2 --t 0.0014 --w 0.2026 --solver field
)";

constexpr std::string_view kSynthesizeExamples = R"(
Examples:
  ferravane synthesize --b 0.25 --er 2.2 --zo 50
  ferravane synthesize --b 62mil --er 4.3 --t 1.4mil --zo 25:100:5 --format csv
  ferravane synthesize --b 1.575mm --er 3.66 --zo 50,75 --f 2.4GHz \
      --metal gold --roughness 0.5um --units mm --format json
  ferravane synthesize --b 0.25 --er 2.2 --t 0.0014 --zo 50 --tol t=10%,w=0.5mil
  ferravane synthesize --b 62mil --er 4.3 --t 1.4mil --zdiff 85:100:5 --s 6mil
  ferravane synthesize --b 62mil --er 4.3 --t 1.4mil --zdiff 100 --zcommon 30
  ferravane synthesize --b 62mil --er 4.3 --t 1.4mil --zo 50 --h 15mil
  ferravane synthesize --b 62mil --er 4.3 --t 1.4mil --zo 50 --tand 0.02 \
      --f 100MHz:20GHz:100MHz --format touchstone --length 2in > line.s2p
  ferravane synthesize --b 62mil --er 4.3 --t 1.4mil --zdiff 100 --s 6mil \
      --tand 0.02 --f 100MHz:20GHz:100MHz --format touchstone --length 2in \
      --dielectric djordjevic --output pair
)";

// "1.6", "4.0", "11.8": a menu value as the menus print it.
std::string one_decimal(float v) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 1);
    return std::string(buf, res.ptr);
}

// Words wrapped within 77 columns, as the rest of the help, the lines
// after the first indented to the option descriptions' column.
std::string wrapped(const std::vector<std::string>& words, std::size_t first_column) {
    constexpr std::size_t kRight = 77;
    const std::string indent(18, ' ');
    std::string out;
    std::size_t column = first_column;
    bool words_on_line = false;
    for (const std::string& w : words) {
        if (words_on_line && column + 1 + w.size() > kRight) {
            out += cat("\n", indent);
            column = indent.size();
            words_on_line = false;
        }
        if (words_on_line) {
            out += ' ';
            ++column;
        }
        out += w;
        column += w.size();
        words_on_line = true;
    }
    return out + "\n";
}

// --metal and --roughness from the model's tables of materials.
std::string material_options() {
    std::vector<std::string> words = {"conductor:"};
    for (std::size_t i = 0; i < std::size(model::kMetals); ++i) {
        const model::Metal& m = model::kMetals[i];
        words.push_back(cat(m.name, " (", one_decimal(m.res1), i == model::kDefaultMetal ? ", default)," : "),"));
    }
    words.emplace_back("or a");
    words.emplace_back("resistivity in micro-ohm-cm");
    std::string text = cat("  --metal M       ", wrapped(words, 18));
    const float sr1 = model::kRoughnesses[model::kDefaultRoughness].sr1;
    text += cat("  --roughness R   RMS surface roughness (default ", one_decimal(sr1), "uin), in uin or um\n");
    return text;
}

}  // namespace

std::string help_text(std::optional<Command> command) {
    if (!command) return std::string(kProgram);
    const bool analyze = *command == Command::analyze;
    std::string text(analyze ? kAnalyzeUsage : kSynthesizeUsage);
    text += kLineOptions;
    text += material_options();
    text += kCommonOptions;
    text += analyze ? kAnalyzeExamples : kSynthesizeExamples;
    return text;
}

std::string version_text() { return "ferravane " FERRAVANE_VERSION "\n"; }

}  // namespace ferravane::cli
