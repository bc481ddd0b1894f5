#include "textio/files.hpp"

#include <cerrno>

#include "platform/platform.hpp"
#include "textio/run_stop.hpp"

namespace ferravane::textio {
namespace {

// The message for a file that cannot be opened.
std::string open_failure_text(int errnum, const std::string& name) {
    switch (errnum) {
        case ENOENT: return "File '" + name + "' does not exist";
        case EACCES: return "Permission denied trying to open file '" + name + "'";
        case EISDIR: return "'" + name + "' is a directory";
        default: return platform::error_text(errnum);
    }
}

// Where every failed open stops.
std::string opening_place(const std::string& name) { return "Run stopped opening file '" + name + "'"; }

[[noreturn]] void stop_opening(int errnum, const std::string& name) {
    throw RunStop(opening_place(name), open_failure_text(errnum, name));
}

}  // namespace

DefaultsFile::DefaultsFile(const platform::Folder& folder) {
    const std::string name = kDefaultsFileName;
    const platform::Opened f = platform::open_for_reading(folder, name);
    if (f.handle == platform::kNoHandle) stop_opening(f.error, name);
    h_ = f.handle;
    id_ = f.id;
    source_ = std::make_unique<HandleSource>(h_);
    stream_ = std::make_unique<InStream>(*source_);
}

DefaultsFile::~DefaultsFile() {
    if (h_ != platform::kNoHandle) platform::close(h_);
}

ReportFile::~ReportFile() { close_after_stop(); }

void ReportFile::open(const Text20& fn, const std::optional<FileId>& defaults) {
    const std::string name(fn.trimmed());
    // The OS cannot name a file with a NUL byte in it; refuse rather than
    // write to the file named by the part before it.
    if (name.find('\0') != std::string::npos) stop_opening(EINVAL, name);

    if (const std::optional<FileId> named = platform::identify(folder_, name)) {
        if (defaults && *named == *defaults) {
            throw RunStop(opening_place(name), "File already opened in another unit");
        }
        if (is_open() && *named == id_) return;  // keep adding to the open report
    }
    close();

    const platform::Opened f = platform::create_for_writing(folder_, name);
    if (f.handle == platform::kNoHandle) stop_opening(f.error, name);
    h_ = f.handle;
    id_ = f.id;
    name_ = name;
    sink_ = std::make_unique<HandleSink>(h_, "Run stopped writing file '" + name_ + "'");
    stream_ = std::make_unique<OutStream>(*sink_);
}

void ReportFile::close() {
    if (!is_open()) return;
    try {
        stream_->flush();
    } catch (...) {
        platform::close(h_);
        h_ = platform::kNoHandle;
        throw;
    }
    const int err = platform::close(h_);
    h_ = platform::kNoHandle;
    if (err != 0) throw RunStop("Run stopped closing file '" + name_ + "'", platform::error_text(err));
}

void ReportFile::close_after_stop() noexcept {
    if (!is_open()) return;
    try {
        stream_->flush();
    } catch (...) {
    }
    platform::close(h_);
    h_ = platform::kNoHandle;
}

}  // namespace ferravane::textio
