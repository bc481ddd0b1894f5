// Drives whole runs in-process: answers in, console bytes, report files and
// the run-stop lines out, in a scratch folder with a fixed clock.
#pragma once

#include <map>
#include <string>

namespace ferravane::testing {

struct RunResult {
    int status = -1;
    std::string console;
    std::string err;
    std::map<std::string, std::string> files;  // every file left in the folder
};

// A scratch folder that disappears with the object.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return path_; }
    void put(const std::string& name, const std::string& bytes) const;
    std::map<std::string, std::string> files() const;

private:
    std::string path_;
};

// 6 January 2026, 9:05:03.
inline constexpr int kClockYear = 2026;

// Runs the program on the answers with the given defaults file (none when
// defaults is null) in a fresh scratch folder.
RunResult run_session(const std::string& answers, const std::string* defaults,
                      const std::map<std::string, std::string>& extra_files = {});

std::string read_file(const std::string& path);

// The shipped defaults file.
const std::string& shipped_defaults();

}  // namespace ferravane::testing
