// Shared pieces of the session fuzz targets: a scratch folder reused across
// inputs, a console that refuses output past a limit, one whole run, and
// the checks that every run must pass whatever its input.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/platform.hpp"
#include "scratch.hpp"

namespace ferravane::fuzzing {

// Stops the process (libFuzzer records the input) when cond is false.
void check(bool cond, const char* what, std::string_view detail = {});

// root/work, where work is the run's folder; nothing may ever appear in
// root beside work. The folders and the defaults file stay open across
// inputs: every system call counts when a run takes a few of its own.
class Scratch {
public:
    Scratch();
    ~Scratch();
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    platform::Folder work() const { return platform::Folder(root_.path("work")); }
    // Empties work and puts the defaults file with these bytes into it (no
    // file when null).
    void prepare(const std::string* defaults);

    struct Entry {
        std::string name;
        bool regular = false;
        std::string bytes;  // regular files other than the defaults file
    };
    // Everything in work after a run. Checks that the defaults file holds
    // exactly the bytes it was given and that root holds work alone.
    std::vector<Entry> after_run();

private:
    std::vector<std::pair<std::string, unsigned char>> list(void* dir) const;

    testing::ScratchDir root_;
    int root_fd_ = -1;
    int work_fd_ = -1;
    void* root_dir_ = nullptr;  // DIR*
    void* work_dir_ = nullptr;
    int defaults_fd_ = -1;
    std::string defaults_;
};

// The one scratch folder of this fuzzing process, made on first use.
Scratch& process_scratch();

// Console output beyond 96 KiB fails like a full device (the first 64 KiB
// block goes out, the next one fails): it bounds
// the cost of huge sweeps and exercises the write-failure path.
inline constexpr std::size_t kConsoleLimit = 96 * 1024;

struct Outcome {
    int status = -1;
    std::string_view console;  // valid until the next run
    std::string err;
};

// One whole run in the scratch work folder with a fixed clock.
Outcome run_session(const Scratch& dir, std::string_view answers);

// The fixed texts every run is checked against.
inline constexpr std::string_view kRunHeaderStart =
    "\r\n      ------------------------------------------------------------------------\r\n";
inline constexpr std::string_view kStorageLineStart = "      Output Data stored in User filename: ";
inline constexpr std::string_view kOperationPrompt = "      OPERATION selected = ";

// Status 0 or 2; after 2 exactly two LF-ended lines (no CR) on err, the
// second one a message the program can give; after 0 nothing on err.
void check_status_and_err(const Outcome& r);
// Every line on the console ends with CR LF; a stop on a console read
// leaves that read's prompt open; a normal end is at the operation prompt
// or after a defaults-file message.
void check_console(const Outcome& r);
// The whole console is one of the two defaults-file messages.
bool is_defaults_message(std::string_view console);
// Report files: never empty, start with the run header, CR LF lines only,
// and after a normal end the last line is the storage line.
void check_report(const Outcome& r, const std::string& name, std::string_view bytes);

// Replaces every '/' so that a file name is one component of the work
// folder: answers and records that contain it are bad values either way,
// so only file names change (they cannot leave the folder).
std::string steer_names(std::string_view bytes);

// The line rules of the field readers written out once more, over a whole
// buffer: a field is cut at LF, at its width, at a CR met while it is
// taken, or (numeric) at a comma; the rest of the line up to its LF is
// skipped. nullopt: no line left.
class LineModel {
public:
    explicit LineModel(std::string_view s) : s_(s) {}

    std::optional<std::string> field(std::size_t w, bool comma_ends) {
        if (pos_ >= s_.size()) return std::nullopt;
        std::string f;
        for (;;) {
            if (pos_ == s_.size()) return f;
            const char c = s_[pos_];
            if (c == '\n') {
                ++pos_;
                return f;
            }
            if (f.size() == w || (comma_ends && c == ',')) {
                skip_to_lf();
                return f;
            }
            if (c == '\r') {
                ++pos_;
                if (pos_ < s_.size() && s_[pos_] == '\n') ++pos_;
                return f;
            }
            f.push_back(c);
            ++pos_;
        }
    }
    // A skipping read; a last line without its LF counts as the end.
    bool skip() { return pos_ < s_.size() && skip_to_lf(); }

private:
    bool skip_to_lf() {
        const auto lf = s_.find('\n', pos_);
        pos_ = lf == std::string_view::npos ? s_.size() : lf + 1;
        return lf != std::string_view::npos;
    }

    std::string_view s_;
    std::size_t pos_ = 0;
};

}  // namespace ferravane::fuzzing
