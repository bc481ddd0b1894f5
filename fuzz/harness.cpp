#include "harness.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/platform.hpp"
#include "run/driver.hpp"
#include "state/session.hpp"
#include "textio/files.hpp"
#include "textio/run_stop.hpp"
#include "session.hpp"
#include "texts.hpp"

namespace ferravane::fuzzing {
namespace {

[[noreturn]] void fail(const char* what, std::string_view detail) {
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    if (!detail.empty()) {
        std::fprintf(stderr, "--- detail (%zu bytes) ---\n", detail.size());
        std::fwrite(detail.data(), 1, detail.size(), stderr);
        std::fprintf(stderr, "\n---\n");
    }
    std::abort();
}

std::string read_all(int fd) {
    std::string bytes;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size > 0) bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buf[1 << 16];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd, buf, sizeof buf, at);
        if (n < 0 && errno == EINTR) continue;
        check(n >= 0, "read of a scratch file");
        if (n == 0) break;
        bytes.append(buf, static_cast<std::size_t>(n));
        at += n;
    }
    return bytes;
}

// The console. Bytes past the limit fail the write as a full device would.
class BoundedSink final : public textio::ByteSink {
public:
    void write(std::string_view bytes) override {
        if (data_.size() + bytes.size() > kConsoleLimit) {
            throw textio::RunStop("Run stopped writing standard output",
                                  platform::error_text(ENOSPC));
        }
        data_.append(bytes);
    }
    std::string& data() { return data_; }

private:
    std::string data_;
};

bool starts_with(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }
bool ends_with(std::string_view s, std::string_view p) {
    return s.size() >= p.size() && s.substr(s.size() - p.size()) == p;
}

// "<prefix><name><suffix>" for a non-empty name.
bool names_a_file(std::string_view m, std::string_view prefix, std::string_view suffix) {
    return m.size() > prefix.size() + suffix.size() && starts_with(m, prefix) && ends_with(m, suffix);
}

bool known_message(std::string_view m) {
    namespace t = testing::texts;
    const auto around = [](const std::string& form) {
        const auto x = form.find('X');
        return std::pair{form.substr(0, x), form.substr(x + 1)};
    };
    static const auto missing = around(t::does_not_exist("X"));
    static const auto folder = around(t::is_a_directory("X"));
    static const auto denied = around(t::permission_denied("X"));
    return m == t::kEndOfFile || m == t::kBadValue || m == t::kAlreadyOpened || m == t::kNoSpace ||
           m == t::kInvalidArgument || names_a_file(m, missing.first, missing.second) ||
           names_a_file(m, folder.first, folder.second) || names_a_file(m, denied.first, denied.second);
}

// The second of the two stderr lines, without its LF.
std::string_view second_line(std::string_view err) {
    const auto first = err.find('\n');
    return err.substr(first + 1, err.size() - first - 2);
}

// Each LF preceded by CR, each CR followed by LF.
bool crlf_lines_only(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) return false;
        if (s[i] == '\r' && (i + 1 == s.size() || s[i + 1] != '\n')) return false;
    }
    return true;
}

}  // namespace

bool is_defaults_message(std::string_view c) {
    constexpr std::size_t kLabel = testing::texts::kLabelWidth;
    const auto form = [&](std::string_view l1, std::string_view l2) {
        return c.size() == l1.size() + l2.size() + kLabel + 2 && starts_with(c, l1) &&
               c.substr(l1.size(), l2.size()) == l2 && ends_with(c, "\r\n");
    };
    namespace t = testing::texts;
    return form(t::kDefaultsEndFirst, t::kDefaultsEndSecond) ||
           form(t::kDefaultsErrorFirst, t::kDefaultsErrorSecond);
}

void check(bool cond, const char* what, std::string_view detail) {
    if (!cond) fail(what, detail);
}

Scratch& process_scratch() {
    static Scratch s;
    return s;
}

Scratch::Scratch() {
    root_fd_ = ::open(root_.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    check(root_fd_ >= 0, "open of the scratch root", root_.path());
    check(::mkdirat(root_fd_, "work", 0700) == 0, "mkdir of the work folder");
    work_fd_ = ::openat(root_fd_, "work", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    check(work_fd_ >= 0, "open of the work folder");
    // Listing handles of their own, so the run's dirfd is never moved.
    root_dir_ = ::opendir(root_.path().c_str());
    work_dir_ = ::opendir(root_.path("work").c_str());
    check(root_dir_ != nullptr && work_dir_ != nullptr, "opendir of the scratch folders");
}

Scratch::~Scratch() {
    prepare(nullptr);
    ::closedir(static_cast<DIR*>(work_dir_));
    ::closedir(static_cast<DIR*>(root_dir_));
    ::close(work_fd_);
    ::close(root_fd_);
}

std::vector<std::pair<std::string, unsigned char>> Scratch::list(void* handle) const {
    DIR* d = static_cast<DIR*>(handle);
    std::vector<std::pair<std::string, unsigned char>> names;
    ::rewinddir(d);
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        unsigned char type = e->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st {};
            check(::fstatat(::dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0, "stat", name);
            type = S_ISREG(st.st_mode) ? DT_REG : S_ISDIR(st.st_mode) ? DT_DIR : DT_LNK;
        }
        names.emplace_back(name, type);
    }
    return names;
}

void Scratch::prepare(const std::string* defaults) {
    for (const auto& [name, type] : list(work_dir_)) {
        if (defaults != nullptr && defaults_fd_ >= 0 && name == textio::kDefaultsFileName) continue;
        const int flags = type == DT_DIR ? AT_REMOVEDIR : 0;
        check(::unlinkat(work_fd_, name.c_str(), flags) == 0, "removal of a scratch entry", name);
    }
    if (defaults == nullptr) {
        if (defaults_fd_ >= 0) ::close(defaults_fd_);
        defaults_fd_ = -1;
        defaults_.clear();
        return;
    }
    if (defaults_fd_ < 0) {
        defaults_fd_ = ::openat(work_fd_, textio::kDefaultsFileName,
                                O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        check(defaults_fd_ >= 0, "create of the defaults file");
        defaults_.clear();
    }
    // The file was checked after the last run, so equal bytes are in place.
    if (*defaults == defaults_) return;
    check(::ftruncate(defaults_fd_, 0) == 0, "truncate of the defaults file");
    check(::pwrite(defaults_fd_, defaults->data(), defaults->size(), 0) ==
              static_cast<ssize_t>(defaults->size()),
          "write of the defaults file");
    defaults_ = *defaults;
}

std::vector<Scratch::Entry> Scratch::after_run() {
    const auto outside = list(root_dir_);
    check(outside.size() == 1 && outside[0].first == "work" && outside[0].second == DT_DIR,
          "nothing may appear beside the work folder");
    std::vector<Entry> entries;
    bool saw_defaults = false;
    for (const auto& [name, type] : list(work_dir_)) {
        Entry e;
        e.name = name;
        e.regular = type == DT_REG;
        if (e.regular && name == textio::kDefaultsFileName) {
            check(defaults_fd_ >= 0, "no defaults file is created");
            saw_defaults = true;
            struct stat named {};
            struct stat ours {};
            check(::fstatat(work_fd_, name.c_str(), &named, 0) == 0 && ::fstat(defaults_fd_, &ours) == 0 &&
                      named.st_ino == ours.st_ino,
                  "the defaults file is the one put there");
            check(read_all(defaults_fd_) == defaults_, "the defaults file stays unchanged");
        } else if (e.regular) {
            const int fd = ::openat(work_fd_, name.c_str(), O_RDONLY | O_CLOEXEC);
            check(fd >= 0, "open of a work file", name);
            e.bytes = read_all(fd);
            ::close(fd);
        }
        entries.push_back(std::move(e));
    }
    check(saw_defaults == (defaults_fd_ >= 0), "the defaults file is not removed");
    return entries;
}

Outcome run_session(const Scratch& dir, std::string_view answers) {
    // The console's stream outlives the runs: its large buffer would
    // otherwise be mapped and unmapped for every input. A run always ends
    // with the stream flushed (or its failed block dropped), so it is empty
    // here.
    static BoundedSink sink;
    static textio::OutStream out(sink);
    sink.data().clear();

    Outcome r;
    textio::StringSource source{std::string(answers)};
    auto in = std::make_unique<textio::InStream>(source);
    textio::Console console(*in, out);
    state::Session io{console, dir.work(), [] { return testing::kFixedClock; }, nullptr};
    r.status = run::run_program(io, r.err);
    r.console = sink.data();  // no copy: large buffers cost a mapping each
    return r;
}

void check_status_and_err(const Outcome& r) {
    check(r.status == 0 || r.status == 2, "exit status is 0 or 2", r.err);
    if (r.status == 0) {
        check(r.err.empty(), "nothing on stderr after a normal end", r.err);
        return;
    }
    const auto first = r.err.find('\n');
    check(first != std::string::npos && first > 0, "first stderr line present", r.err);
    check(r.err.size() > first + 2 && r.err.back() == '\n' &&
              r.err.find('\n', first + 1) == r.err.size() - 1,
          "stderr holds exactly two non-empty LF-ended lines", r.err);
    check(r.err.find('\r') == std::string::npos, "stderr lines end with LF alone", r.err);
    check(known_message(second_line(r.err)), "stop message is one the program gives", r.err);
}

void check_console(const Outcome& r) {
    const std::string_view c = r.console;
    check(crlf_lines_only(c), "console lines end with CR LF", c);
    if (r.status == 2) {
        const std::string_view m = second_line(r.err);
        if (m == "End of file" || m == "Bad value during floating point read") {
            check(ends_with(c, "= ") || ends_with(c, ": "),
                  "a failed console read leaves its prompt open", c);
        }
        return;
    }
    check(ends_with(c, kOperationPrompt) || is_defaults_message(c),
          "a normal end is at the operation prompt or after a defaults-file message", c);
}

void check_report(const Outcome& r, const std::string& name, std::string_view bytes) {
    check(!bytes.empty(), "a report file is never empty", name);
    check(starts_with(bytes, kRunHeaderStart), "a report file starts with the run header", bytes);
    check(ends_with(bytes, "\r\n"), "a report file ends with CR LF", bytes);
    check(crlf_lines_only(bytes), "report lines end with CR LF", bytes);
    if (r.status == 0) {
        const auto last = bytes.rfind("\r\n", bytes.size() - 3);
        const std::string_view line = bytes.substr(last == std::string_view::npos ? 0 : last + 2);
        check(starts_with(line, kStorageLineStart),
              "after a normal end a report ends with its storage line", bytes);
    }
}

std::string steer_names(std::string_view bytes) {
    std::string s(bytes);
    for (char& c : s) {
        if (c == '/') c = '|';
    }
    return s;
}

}  // namespace ferravane::fuzzing

// Fresh memory for every large buffer, filled and quarantined, costs more
// than a short run itself; a smaller quarantine still catches use after
// free within an input.
extern "C" const char* __asan_default_options() {
    return "max_malloc_fill_size=0:quarantine_size_mb=16:allocator_release_to_os_interval_ms=-1";
}
