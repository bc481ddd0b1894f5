// The command line on arbitrary arguments (the input split at NUL bytes),
// with a standard output that fails past a limit. Whatever the arguments:
// status 0, 1 or 2; a usage error is one line on stderr and nothing on
// stdout; a failed output is the one-line message and status 2; JSON is
// one closed document with no NaN or infinity; CSV rows have the header's
// fields and CR LF ends; text lines end with LF alone; and the status is 1
// exactly when some row is not ok.
#include <cstdint>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.hpp"
#include "harness.hpp"

namespace {

using ferravane::fuzzing::check;

constexpr std::size_t kOutputLimit = 64 * 1024;
constexpr std::string_view kCannotWrite = "ferravane: cannot write standard output\n";

// Takes up to kOutputLimit bytes; every write after that fails.
struct LimitedOut : std::streambuf {
    int_type overflow(int_type c) override {
        const char ch = traits_type::to_char_type(c);
        return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        const std::size_t take = std::min(kOutputLimit - bytes.size(), static_cast<std::size_t>(n));
        bytes.append(s, take);
        full = full || take < static_cast<std::size_t>(n);
        return static_cast<std::streamsize>(take);
    }
    std::string bytes;
    bool full = false;
};

// A small JSON reader that accepts exactly one value and records the
// "status" strings of the row objects.
class JsonCheck {
public:
    explicit JsonCheck(std::string_view s) : s_(s) {}

    bool document() {
        if (!value(0)) return false;
        space();
        return pos_ == s_.size();
    }
    std::vector<std::string> statuses;

private:
    void space() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\n')) ++pos_;
    }
    bool literal(std::string_view w) {
        if (s_.substr(pos_, w.size()) != w) return false;
        pos_ += w.size();
        return true;
    }
    bool string(std::string* out) {
        if (!literal("\"")) return false;
        while (pos_ < s_.size() && s_[pos_] != '"') {
            if (static_cast<unsigned char>(s_[pos_]) < 0x20) return false;
            if (s_[pos_] == '\\') ++pos_;
            if (out && pos_ < s_.size()) out->push_back(s_[pos_]);
            ++pos_;
        }
        return literal("\"");
    }
    bool number() {
        const std::size_t start = pos_;
        if (pos_ < s_.size() && s_[pos_] == '-') ++pos_;
        while (pos_ < s_.size() && std::string_view("0123456789.eE+-").find(s_[pos_]) != std::string_view::npos) {
            ++pos_;
        }
        // Digits are required; "nan", "inf" and "Infinity" never get here.
        return pos_ > start && s_[pos_ - 1] != '-';
    }
    bool value(int depth) {
        if (depth > 8) return false;
        space();
        if (pos_ >= s_.size()) return false;
        const char c = s_[pos_];
        if (c == '{') return object(depth);
        if (c == '[') return array(depth);
        if (c == '"') return string(nullptr);
        if (c == 'n') return literal("null");
        return number();
    }
    bool array(int depth) {
        ++pos_;
        space();
        if (literal("]")) return true;
        for (;;) {
            if (!value(depth + 1)) return false;
            space();
            if (literal("]")) return true;
            if (!literal(",")) return false;
        }
    }
    bool object(int depth) {
        ++pos_;
        space();
        if (literal("}")) return true;
        for (;;) {
            space();
            std::string key;
            if (!string(&key)) return false;
            space();
            if (!literal(":")) return false;
            space();
            if (key == "status") {
                std::string status;
                if (!string(&status)) return false;
                statuses.push_back(status);
            } else if (!value(depth + 1)) {
                return false;
            }
            space();
            if (literal("}")) return true;
            if (!literal(",")) return false;
        }
    }

    std::string_view s_;
    std::size_t pos_ = 0;
};

std::vector<std::string_view> lines_of(std::string_view s, std::string_view end) {
    std::vector<std::string_view> lines;
    while (!s.empty()) {
        const std::size_t at = s.find(end);
        check(at != std::string_view::npos, "every line of the output is ended", s);
        lines.push_back(s.substr(0, at));
        s.remove_prefix(at + end.size());
    }
    return lines;
}

// The CSV fields of a record without quotes (the program quotes none).
std::vector<std::string_view> fields_of(std::string_view line) {
    std::vector<std::string_view> f;
    for (;;) {
        const std::size_t comma = line.find(',');
        f.push_back(line.substr(0, comma));
        if (comma == std::string_view::npos) return f;
        line.remove_prefix(comma + 1);
    }
}

// Exit 1 exactly when some row is not ok.
void check_statuses(const std::vector<std::string>& statuses, int status) {
    bool all_ok = true;
    for (const std::string& s : statuses) all_ok = all_ok && s == "ok";
    check(status == (all_ok ? 0 : 1), "status 1 exactly when some row is not ok");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string_view> args;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty() && args.size() < 64) {
        const std::size_t nul = rest.find('\0');
        args.push_back(rest.substr(0, nul));
        if (nul == std::string_view::npos) break;
        rest.remove_prefix(nul + 1);
    }

    // --output writes files wherever it names: not from a fuzzer.
    for (const std::string_view a : args) {
        if (a.find("output") != std::string_view::npos) return 0;
    }

    LimitedOut sink;
    std::ostream out(&sink);
    std::ostringstream err_stream;
    const int status = ferravane::cli::run(args, out, err_stream);
    const std::string err = err_stream.str();
    const std::string_view bytes = sink.bytes;

    check(status >= 0 && status <= 2, "status 0, 1 or 2");
    if (sink.full) {
        check(status == 2 && err == kCannotWrite, "a failed output is status 2 and its one line", err);
        return 0;
    }
    if (status == 2) {
        check(bytes.empty(), "a usage error writes nothing on standard output", bytes);
        check(!err.empty() && err.find('\n') == err.size() - 1, "a usage error is one line", err);
        return 0;
    }
    for (const std::string_view line : lines_of(err, "\n")) {
        check(line.starts_with("ferravane "), "stderr lines name the program", line);
    }
    if (bytes.starts_with("{")) {
        JsonCheck json(bytes);
        check(json.document(), "JSON is one closed document without NaN or infinity", bytes);
        check_statuses(json.statuses, status);
    } else if (bytes.starts_with("# ")) {
        check(bytes.find('\r') == std::string_view::npos, "text lines end with LF alone", bytes);
        lines_of(bytes, "\n");
    } else if (bytes.starts_with("! ferravane")) {
        // A Touchstone file: comment lines, then the option line.
        check(bytes.find("\r\n# GHZ S RI R ") != std::string_view::npos, "Touchstone has its option line", bytes);
        check(bytes.find("nan") == std::string_view::npos && bytes.find("inf") == std::string_view::npos,
              "Touchstone numbers are finite", bytes);
    } else if (bytes.starts_with("w_")) {
        const std::vector<std::string_view> lines = lines_of(bytes, "\r\n");
        const std::vector<std::string_view> header = fields_of(lines.front());
        std::size_t status_at = header.size();
        for (std::size_t i = 0; i < header.size(); ++i) {
            if (header[i] == "status") status_at = i;
        }
        check(status_at < header.size(), "the CSV has a status column");
        std::vector<std::string> statuses;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const std::vector<std::string_view> f = fields_of(lines[i]);
            check(f.size() == header.size(), "CSV rows have the header's fields", lines[i]);
            statuses.emplace_back(f[status_at]);
        }
        check_statuses(statuses, status);
    } else if (bytes.empty()) {
        // Touchstone for lines none of which could be found: no file.
        check(status == 1 && !err.empty(), "no output only for lines that could not be found", err);
    } else {
        // Help or version: the whole text, nothing on stderr.
        check(bytes.starts_with("Usage: ") || bytes.starts_with("ferravane "), "help or version text", bytes);
        check(status == 0 && err.empty(), "help and version end with status 0", bytes);
    }
    return 0;
}
