#include "cli/help.hpp"

#include <charconv>
#include <vector>

#include "cli/text.hpp"
#include "model/materials.hpp"

namespace ferravane::cli {
namespace {

constexpr std::string_view kProgram = R"(Usage: ferravane                          the interactive dialog
       ferravane analyze OPTIONS          Zo from strip widths
       ferravane synthesize OPTIONS       strip widths from Zo
       ferravane COMMAND --help           the options of a command
       ferravane --version

Ferravane computes single-strip stripline transmission lines: a strip of
width W and thickness T centred between ground planes spaced B apart, in a
dielectric of constant Er. Without arguments it asks its questions on the
console; with a command it computes the rows the options ask for and
writes them as text, CSV or JSON.

Examples:
  ferravane analyze --b 0.25 --er 2.2 --w 0.2026 --t 0.0014
  ferravane synthesize --b 62mil --er 4.3 --zo 25:100:5 --t 1.4mil --format csv

Exit status: 0 every row ok; 1 some row with another status (see a
command's --help); 2 a usage error (one line on standard error, nothing on
standard output) or an output that could not be written.
)";

constexpr std::string_view kAnalyzeUsage = R"(Usage: ferravane analyze --b B --er ER --w W [--t T] [OPTIONS]

The characteristic impedance Zo of each strip width W, with W/B, the TE11
cutoff and the normalised sensitivities of Zo to B, Er, W and T; with --f
also the wavelengths, the unloaded Q and the losses at each frequency.

Line:
  --b B           ground-plane spacing (required, above 0)
  --er ER         relative dielectric constant (required, at least 1)
  --w W           strip width (required, above 0): a value, a list
                  W1,W2,... or a range START:STOP:STEP
)";

constexpr std::string_view kSynthesizeUsage = R"(Usage: ferravane synthesize --b B --er ER --zo ZO [--t T] [OPTIONS]

The strip width W for each impedance Zo (the width search of the dialog,
within 0.1 % of Zo), with W/B, the TE11 cutoff and the normalised
sensitivities of Zo to B, Er, W and T; with --f also the wavelengths, the
unloaded Q and the losses at each frequency. An impedance that needs a
strip narrower than 0.0009 inch keeps its row, with the status
"unrealisable" and empty numbers; every row gives zo_realised, the
impedance of the strip drawn.

Line:
  --b B           ground-plane spacing (required, above 0)
  --er ER         relative dielectric constant (required, at least 1)
  --zo ZO         impedance in ohms (required, above 0): a value, a list
                  Z1,Z2,... or a range START:STOP:STEP
)";

constexpr std::string_view kLineOptions = R"(  --t T           strip thickness (default 0, at least 0 and below B)
  --tand D        dielectric loss tangent (default 0)
)";

constexpr std::string_view kCommonOptions = R"(
Results:
  --f F           frequencies for the losses: a value, a list or a range
  --tol LIST      tolerance window of Zo, e.g. b=2%,t=10%,er=0.05,w=0.5mil:
                  each of b, t, er, w relative in % or absolute (lengths
                  with a unit); gives zo_lin_min/max (worst case from the
                  sensitivities), zo_rss_min/max (root-sum-square) and
                  zo_min/max (the model at the 16 corners)
  --units U       output lengths in in (default), mil, mm or um; losses in
                  dB per inch for in and mil, dB per metre for mm and um
  --format F      text (default, 6 significant digits), csv or json (every
                  number in the shortest form that reads back to the same
                  32-bit float)
  -h, --help      this help

Units: lengths 0.25 or 0.25in, 62mil, 1.575mm, 35um (bare: inches);
frequencies 1000 (bare: MHz), 500MHz, 2.4GHz, 1e9Hz; roughness 2.5uin or
0.5um. In a list or a range give a unit on every number or on none. A
range has the rows of the dialog's tables: the whole steps from START that
fit below STOP plus a ten-thousandth of a step. Options take their value
as the next argument or after '=' (--b=0.25).

Columns: w, w_over_b, zo, te11_ghz, [f_mhz, lambda0, lambdag, q,
loss_conductor, loss_dielectric, loss_total,] s_b, s_er, s_w, s_t, status,
[zo_lin_min, zo_lin_max, zo_rss_min, zo_rss_max, zo_min, zo_max]. CSV
headers add the unit (w_in, zo_ohm, loss_total_db_per_in); JSON has a
"units" object. Losses are positive dB of attenuation. synthesize adds
zo_realised after zo.

Status of a row (the first that applies):
  ok                       every value computed and finite
  unrealisable             no strip of 0.0009 inch or more gives the
                           impedance; only the inputs are shown
  not_finite               some value is not a finite number (inf or nan
                           in text and CSV, null in JSON)
  off_target               the strip drawn misses the target by 0.1 % or
                           more (the zero-thickness model's widest strips,
                           W/B above about 4.4; see zo_realised)
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
)";

constexpr std::string_view kSynthesizeExamples = R"(
Examples:
  ferravane synthesize --b 0.25 --er 2.2 --zo 50
  ferravane synthesize --b 62mil --er 4.3 --t 1.4mil --zo 25:100:5 --format csv
  ferravane synthesize --b 1.575mm --er 3.66 --zo 50,75 --f 2.4GHz \
      --metal gold --roughness 0.5um --units mm --format json
  ferravane synthesize --b 0.25 --er 2.2 --t 0.0014 --zo 50 --tol t=10%,w=0.5mil
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
