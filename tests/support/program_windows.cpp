#include <stdexcept>
#include <windows.h>

#include "program.hpp"
#include "scratch.hpp"
#include "support_config.hpp"
#include "texts.hpp"

namespace ferravane::testing {
namespace {

// A handle the child inherits.
HANDLE inheritable(const std::string& path, bool write) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    const HANDLE h = ::CreateFileA(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                                   write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path);
    return h;
}

}  // namespace

// No user has power over read-only files, except root under wine, whose
// files are the host's: probe whether a read-only file refuses writing.
bool can_run_unprivileged(std::string* why) {
    static const bool enforced = [] {
        ScratchDir s;
        s.put("probe", "");
        ::SetFileAttributesA(s.path("probe").c_str(), FILE_ATTRIBUTE_READONLY);
        const HANDLE h = ::CreateFileA(s.path("probe").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return true;
        ::CloseHandle(h);
        return false;
    }();
    if (!enforced) *why = "read-only files can be written here (wine running as root)";
    return enforced;
}

bool permission_bits_apply() { return false; }

const char* null_device() { return "NUL"; }

ExclusiveHold::ExclusiveHold(const std::string& path) {
    const HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) handle_ = reinterpret_cast<std::intptr_t>(h);
}

ExclusiveHold::~ExclusiveHold() {
    if (held()) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

ProgramRun run_program(const std::string& dir, const std::string& answers, RunOptions opt) {
    if (opt.out != Stdout::file) throw std::logic_error("the pipe runs are POSIX only");
    ScratchDir io;
    write_file(io.path("stdin"), answers);
    const HANDLE in = inheritable(io.path("stdin"), false);
    const HANDLE out = inheritable(io.path("stdout"), true);
    const HANDLE err = inheritable(io.path("stderr"), true);

    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = (opt.closed & kStdin) ? nullptr : in;
    si.hStdOutput = (opt.closed & kStdout) ? nullptr : out;
    si.hStdError = (opt.closed & kStderr) ? nullptr : err;
    PROCESS_INFORMATION pi{};
    // The tests' arguments hold no blanks or quotes: quoting each is enough.
    std::string cmdline = std::string("\"") + kBinary + "\"";
    for (const std::string& a : opt.args) cmdline += " \"" + a + "\"";
    const BOOL started = ::CreateProcessA(kBinary, cmdline.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                          dir.c_str(), &si, &pi);
    ::CloseHandle(in);
    ::CloseHandle(out);
    ::CloseHandle(err);
    if (!started) throw std::runtime_error(std::string("cannot start ") + kBinary);
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);

    ProgramRun r;
    r.status = static_cast<int>(code);
    r.out = texts::undated(read_file(io.path("stdout")));
    r.err = read_file(io.path("stderr"));
    return r;
}

}  // namespace ferravane::testing
