#include "textio/files.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "textio/run_stop.hpp"

namespace ferravane::textio {
namespace {

// The message for a file that cannot be opened.
std::string open_failure_text(int errnum, const std::string& name) {
    switch (errnum) {
        case ENOENT: return "File '" + name + "' does not exist";
        case EACCES: return "Permission denied trying to open file '" + name + "'";
        case EISDIR: return "'" + name + "' is a directory";
        default: return os_error_text(errnum);
    }
}

[[noreturn]] void stop_opening(int errnum, const std::string& name) {
    throw RunStop("Run stopped opening file '" + name + "'", open_failure_text(errnum, name));
}

}  // namespace

DefaultsFile::DefaultsFile(int dirfd) {
    const std::string name = kDefaultsFileName;
    fd_ = ::openat(dirfd, name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) stop_opening(errno, name);
    struct stat st {};
    if (::fstat(fd_, &st) != 0) stop_opening(errno, name);
    if (S_ISDIR(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        stop_opening(EISDIR, name);
    }
    id_ = FileId{st.st_dev, st.st_ino};
    source_ = std::make_unique<FdSource>(fd_);
    stream_ = std::make_unique<InStream>(*source_);
}

DefaultsFile::~DefaultsFile() {
    if (fd_ >= 0) ::close(fd_);
}

ReportFile::~ReportFile() { close_after_stop(); }

void ReportFile::open(const Text20& fn, const std::optional<FileId>& defaults) {
    const std::string name(fn.trimmed());
    // The OS cannot name a file with a NUL byte in it; refuse rather than
    // write to the file named by the part before it.
    if (name.find('\0') != std::string::npos) stop_opening(EINVAL, name);

    struct stat st {};
    const bool exists = ::fstatat(dirfd_, name.c_str(), &st, 0) == 0;
    if (exists) {
        const FileId named{st.st_dev, st.st_ino};
        if (defaults && named == *defaults) {
            throw RunStop("Run stopped opening file '" + name + "'",
                          "File already opened in another unit");
        }
        if (is_open() && named == id_) return;  // keep adding to the open report
    }
    close();

    const int fd = ::openat(dirfd_, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) stop_opening(errno, name);
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        stop_opening(err, name);
    }
    fd_ = fd;
    id_ = FileId{st.st_dev, st.st_ino};
    name_ = name;
    sink_ = std::make_unique<FdSink>(fd_, "Run stopped writing file '" + name_ + "'");
    stream_ = std::make_unique<OutStream>(*sink_);
}

void ReportFile::close() {
    if (!is_open()) return;
    try {
        stream_->flush();
    } catch (...) {
        ::close(fd_);
        fd_ = -1;
        throw;
    }
    const int rc = ::close(fd_);
    fd_ = -1;
    if (rc != 0 && errno != EINTR) {
        throw RunStop("Run stopped closing file '" + name_ + "'", os_error_text(errno));
    }
}

void ReportFile::close_after_stop() noexcept {
    if (!is_open()) return;
    try {
        stream_->flush();
    } catch (...) {
    }
    ::close(fd_);
    fd_ = -1;
}

}  // namespace ferravane::textio
