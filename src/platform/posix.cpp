// Linux and other POSIX systems.
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/platform.hpp"

namespace ferravane::platform {
namespace {

std::string full_name(const Folder& folder, const std::string& name) {
    if (folder.path().empty() || name.starts_with('/')) return name;
    return folder.path() + "/" + name;
}

FileId id_of(const struct stat& st) {
    return FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

int fd_of(Handle h) { return static_cast<int>(h); }

Opened opened_or_error(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return Opened{kNoHandle, err, {}};
    }
    return Opened{fd, 0, id_of(st)};
}

}  // namespace

std::string error_text(int errnum) { return std::strerror(errnum); }

Opened open_for_reading(const Folder& folder, const std::string& name) {
    const int fd = ::open(full_name(folder, name).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Opened{kNoHandle, errno, {}};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        return Opened{kNoHandle, err, {}};
    }
    return Opened{fd, 0, id_of(st)};
}

Opened create_for_writing(const Folder& folder, const std::string& name) {
    const int fd =
        ::open(full_name(folder, name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return Opened{kNoHandle, errno, {}};
    return opened_or_error(fd);
}

std::optional<FileId> identify(const Folder& folder, const std::string& name) {
    struct stat st {};
    if (::stat(full_name(folder, name).c_str(), &st) != 0) return std::nullopt;
    return id_of(st);
}

int close(Handle h) {
    // After EINTR the descriptor is gone all the same (Linux).
    if (::close(fd_of(h)) != 0 && errno != EINTR) return errno;
    return 0;
}

long read(Handle h, char* buf, std::size_t n, int* err) {
    for (;;) {
        const ssize_t got = ::read(fd_of(h), buf, n);
        if (got >= 0) return static_cast<long>(got);
        if (errno == EINTR) continue;
        *err = errno;
        return -1;
    }
}

int write_all(Handle h, const char* p, std::size_t n) {
    while (n > 0) {
        const ssize_t put = ::write(fd_of(h), p, n);
        if (put < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        p += put;
        n -= static_cast<std::size_t>(put);
    }
    return 0;
}

void prepare_console() {
    // Descriptors are handed out lowest first: with 0, 1 or 2 closed, the
    // next file opened would become standard input, output or error.
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int null = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (null >= 0 && null != fd) {
            ::dup2(null, fd);
            ::close(null);
        }
    }
    // A closed pipe on standard output must be a run stop with its
    // message, not a silent death.
    std::signal(SIGPIPE, SIG_IGN);
}

Handle standard_input() { return STDIN_FILENO; }
Handle standard_output() { return STDOUT_FILENO; }
Handle standard_error() { return STDERR_FILENO; }

LocalTime local_time() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t secs = std::chrono::system_clock::to_time_t(now);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
    std::tm tm{};
    localtime_r(&secs, &tm);
    return LocalTime{tm.tm_year + 1900,
                     tm.tm_mon + 1,
                     tm.tm_mday,
                     static_cast<std::int32_t>(tm.tm_gmtoff / 60),
                     tm.tm_hour,
                     tm.tm_min,
                     tm.tm_sec,
                     static_cast<std::int32_t>(ms.count())};
}

}  // namespace ferravane::platform
