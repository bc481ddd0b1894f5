#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "program.hpp"
#include "scratch.hpp"
#include "support_config.hpp"
#include "texts.hpp"

namespace ferravane::testing {
namespace {

constexpr uid_t kNobody = 65534;

bool drop_privileges() {
    return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

// The program as nobody reaches it: the checkout may lie in a folder only
// its owner can enter, so a copy goes into a scratch folder anyone can.
const std::string& reachable_binary() {
    static ScratchDir dir;
    static const std::string path = [] {
        const std::string copy = dir.path("ferravane");
        write_file(copy, read_file(kBinary));
        if (::chmod(dir.path().c_str(), 0755) != 0 || ::chmod(copy.c_str(), 0755) != 0) {
            throw std::runtime_error("cannot open up " + copy);
        }
        return copy;
    }();
    return path;
}

// The command line: the emulator, if any, then the program.
std::vector<std::string> command(bool unprivileged) {
    std::vector<std::string> argv(std::begin(kEmulator), std::end(kEmulator));
    argv.push_back(unprivileged && ::geteuid() == 0 ? reachable_binary() : std::string(kBinary));
    return argv;
}

}  // namespace

bool can_run_unprivileged(std::string* why) {
    if (::geteuid() != 0) return true;  // the tests' own user is unprivileged
    const std::string binary = reachable_binary();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (!drop_privileges()) ::_exit(1);
        ::_exit(::access(binary.c_str(), X_OK) == 0 ? 0 : 2);
    }
    int st = 0;
    ::waitpid(pid, &st, 0);
    const int code = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    if (code == 1) *why = "this system does not let root become nobody";
    if (code == 2) *why = "nobody cannot enter the temporary folder holding " + binary;
    return code == 0;
}

bool permission_bits_apply() { return true; }

const char* null_device() { return "/dev/null"; }

ExclusiveHold::ExclusiveHold(const std::string&) {}
ExclusiveHold::~ExclusiveHold() = default;

ProgramRun run_program(const std::string& dir, const std::string& answers, RunOptions opt) {
    // Beside the run folder, not inside it.
    ScratchDir io;
    const std::string in_path = io.path("stdin");
    const std::string out_path = io.path("stdout");
    const std::string err_path = io.path("stderr");
    write_file(in_path, answers);

    std::vector<std::string> args = command(opt.unprivileged);
    args.insert(args.end(), opt.args.begin(), opt.args.end());
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    int pipe_fds[2] = {-1, -1};
    if (opt.out != Stdout::file && ::pipe(pipe_fds) != 0) throw std::runtime_error("pipe failed");
    // With no reader anywhere, the first write meets a closed pipe.
    if (opt.out == Stdout::closed_pipe) ::close(pipe_fds[0]);

    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        // The program must deal with a closed pipe itself.
        std::signal(SIGPIPE, SIG_DFL);
        const int in = ::open(in_path.c_str(), O_RDONLY);
        const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int out = -1;
        if (opt.out == Stdout::file) {
            out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        } else {
            out = pipe_fds[1];
            if (opt.out == Stdout::pipe_closed_after_first_block) ::close(pipe_fds[0]);
        }
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 ||
            ::chdir(dir.c_str()) != 0) {
            ::_exit(126);
        }
        for (int fd = 0; fd <= 2; ++fd) {
            if (opt.closed & (1u << fd)) ::close(fd);
        }
        // Only the three standard descriptors reach the program.
        for (const int fd : {in, out, err}) {
            if (fd > 2) ::close(fd);
        }
        if (opt.unprivileged && ::geteuid() == 0 && !drop_privileges()) ::_exit(126);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }

    ProgramRun r;
    if (opt.out == Stdout::pipe_closed_after_first_block) {
        ::close(pipe_fds[1]);
        // Take one block of the table, then hang up on the program.
        char buf[4096];
        while (r.out.size() < (std::size_t{1} << 16)) {
            const ssize_t n = ::read(pipe_fds[0], buf, sizeof buf);
            if (n <= 0) break;
            r.out.append(buf, static_cast<std::size_t>(n));
        }
        ::close(pipe_fds[0]);
    } else if (opt.out == Stdout::closed_pipe) {
        ::close(pipe_fds[1]);
    }
    int st = 0;
    while (::waitpid(pid, &st, 0) < 0 && errno == EINTR) {
    }
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    if (opt.out == Stdout::file) r.out = read_file(out_path);
    r.out = texts::undated(r.out);
    r.err = read_file(err_path);
    return r;
}

}  // namespace ferravane::testing
