// Runs the built program as a user would: in a folder of its own, answers
// on standard input, standard output and standard error caught.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ferravane::testing {

enum class Stdout {
    file,                           // caught in a file
    closed_pipe,                    // a pipe nobody reads (POSIX only)
    pipe_closed_after_first_block,  // read for 64 KiB, then closed (POSIX only)
};

struct RunOptions {
    Stdout out = Stdout::file;
    // Without root's power over permissions: as nobody when the tests run
    // as root. Windows gives no user such power, so there it changes nothing.
    bool unprivileged = false;
    // Command-line arguments after the program's name.
    std::vector<std::string> args;
    // Standard streams the program starts without (closed descriptors, or
    // no handles on Windows): a sum of kStdin, kStdout and kStderr.
    unsigned closed = 0;
};
inline constexpr unsigned kStdin = 1, kStdout = 2, kStderr = 4;

struct ProgramRun {
    int status = -1;
    std::string out;  // clock masked (texts::undated)
    std::string err;
};

// Runs the program with dir as its working folder.
ProgramRun run_program(const std::string& dir, const std::string& answers, RunOptions opt = {});

// Whether runs with unprivileged set can be made here; when not, *why
// says what the system does not allow.
bool can_run_unprivileged(std::string* why);

// Whether permission bits decide who may read a file or create one in a
// folder: on POSIX; on Windows access lists do, and chmod only sets the
// read-only attribute, which folders ignore.
bool permission_bits_apply();

// The name of the device that takes every byte written and keeps none.
const char* null_device();

// Holds a file open against every other program, as a Windows program may
// (no sharing), until destroyed. POSIX systems have no such holds: there
// held() is false.
class ExclusiveHold {
public:
    explicit ExclusiveHold(const std::string& path);
    ~ExclusiveHold();
    ExclusiveHold(const ExclusiveHold&) = delete;
    ExclusiveHold& operator=(const ExclusiveHold&) = delete;
    bool held() const { return handle_ != -1; }

private:
    std::intptr_t handle_ = -1;
};

}  // namespace ferravane::testing
