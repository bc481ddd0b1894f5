#include "session_harness.hpp"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include "run/driver.hpp"
#include "state/session.hpp"

namespace ferravane::testing {
namespace {

void remove_tree(const std::string& path) {
    if (DIR* d = ::opendir(path.c_str())) {
        while (dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            const std::string full = path + "/" + name;
            struct stat st {};
            if (::lstat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
                remove_tree(full);
            } else {
                ::unlink(full.c_str());
            }
        }
        ::closedir(d);
    }
    ::rmdir(path.c_str());
}

}  // namespace

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

ScratchDir::ScratchDir() {
    const char* root = std::getenv("TMPDIR");
    std::string tmpl = std::string(root != nullptr ? root : "/tmp") + "/ferravane-test-XXXXXX";
    if (::mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

ScratchDir::~ScratchDir() { remove_tree(path_); }

void ScratchDir::put(const std::string& name, const std::string& bytes) const {
    std::ofstream out(path_ + "/" + name, std::ios::binary);
    out << bytes;
}

std::map<std::string, std::string> ScratchDir::files() const {
    std::map<std::string, std::string> result;
    if (DIR* d = ::opendir(path_.c_str())) {
        while (dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            struct stat st {};
            const std::string full = path_ + "/" + name;
            if (::stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
                result[name] = read_file(full);
            }
        }
        ::closedir(d);
    }
    return result;
}

RunResult run_session(const std::string& answers, const std::string* defaults,
                      const std::map<std::string, std::string>& extra_files) {
    ScratchDir dir;
    if (defaults != nullptr) dir.put("Ferravane.DEF", *defaults);
    for (const auto& [name, bytes] : extra_files) dir.put(name, bytes);

    const int dirfd = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirfd < 0) throw std::runtime_error("cannot open scratch folder");

    RunResult result;
    {
        textio::StringSource source(answers);
        textio::InStream in(source);
        textio::StringSink sink;
        textio::OutStream out(sink);
        textio::Console console(in, out);
        state::Session io{console, dirfd, [] { return state::ClockValues{2026, 1, 6, 60, 9, 5, 3, 250}; },
                        nullptr};
        result.status = run::run_program(io, result.err);
        result.console = sink.data();
    }
    ::close(dirfd);
    result.files = dir.files();
    return result;
}

const std::string& shipped_defaults() {
    static const std::string bytes = read_file(FERRAVANE_SOURCE_DIR "/data/Ferravane.DEF");
    return bytes;
}

}  // namespace ferravane::testing
