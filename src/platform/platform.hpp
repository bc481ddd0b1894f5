// The operating system as the program sees it: files and their identity,
// the console streams, the local clock and error texts. One implementation
// per system (posix.cpp, windows.cpp), chosen by the build; nothing above
// this layer asks which system it runs on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace ferravane::platform {

// Error numbers are the errno values of <cerrno> on every system. A Windows
// error with no counterpart there is kNativeError plus its code.
inline constexpr int kNativeError = 0x10000;

// The description of an error, in Linux's words wherever Linux has the
// error, so run stops read the same everywhere.
std::string error_text(int errnum);

// An open file or console stream: a file descriptor, or a Windows HANDLE.
using Handle = std::intptr_t;
inline constexpr Handle kNoHandle = -1;

// What identifies a file whatever name reaches it: device and inode, or
// volume serial number and file index.
struct FileId {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
};

// Where relative names are looked up: the working folder (no path), or a
// folder given by its path (tests). Names reach the system as typed, bytes
// unchanged; absolute names ignore the folder.
class Folder {
public:
    Folder() = default;
    explicit Folder(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

struct Opened {
    Handle handle = kNoHandle;  // kNoHandle on failure
    int error = 0;              // the error number on failure
    FileId id;
};

// Opens an existing file for reading. A folder fails with EISDIR.
Opened open_for_reading(const Folder& folder, const std::string& name);
// Creates the file, or empties the existing one, for writing from its
// start. A folder fails with EISDIR, a missing folder with ENOENT, refused
// access with EACCES.
Opened create_for_writing(const Folder& folder, const std::string& name);
// The identity of the file the name denotes, when it exists.
std::optional<FileId> identify(const Folder& folder, const std::string& name);
// Returns 0 or the error number.
int close(Handle h);

// Reads up to n bytes: the count, 0 at the end, or -1 with the error
// number in *err.
long read(Handle h, char* buf, std::size_t n, int* err);
// Writes all n bytes; returns 0 or the error number.
int write_all(Handle h, const char* p, std::size_t n);

// Makes the console streams carry bytes unchanged (no line-end translation,
// no end-of-input character) and a closed pipe a write error rather than a
// signal. A standard stream the program was started without is opened on
// the null device, so that no file the program opens later can stand in
// for it. Call once, first thing.
void prepare_console();
Handle standard_input();
Handle standard_output();
Handle standard_error();

struct LocalTime {
    std::int32_t year, month, day;
    std::int32_t utc_offset_minutes;
    std::int32_t hour, minute, second, millisecond;
};
LocalTime local_time();

}  // namespace ferravane::platform
