// Windows. Files and console streams go through Win32 handles, never the C
// runtime's text-mode streams: bytes pass unchanged, CR LF is not doubled
// and a Ctrl-Z byte is an ordinary character. Names go to the ANSI API as
// the user typed them.
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/platform.hpp"

namespace ferravane::platform {
namespace {

HANDLE win(Handle h) { return reinterpret_cast<HANDLE>(h); }
Handle ours(HANDLE h) { return reinterpret_cast<Handle>(h); }

// The errno value with the same meaning, so the messages match Linux.
int errno_of(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME: return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return EACCES;
        case ERROR_WRITE_PROTECT: return EROFS;
        case ERROR_INVALID_NAME:
        case ERROR_INVALID_PARAMETER: return EINVAL;
        case ERROR_DIRECTORY: return ENOTDIR;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return ENOSPC;
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA: return EPIPE;
        case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
        case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY: return ENOMEM;
        case ERROR_INVALID_HANDLE: return EBADF;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS: return EEXIST;
        case ERROR_DIR_NOT_EMPTY: return ENOTEMPTY;
        case ERROR_CRC:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
        case ERROR_GEN_FAILURE: return EIO;
        default: return kNativeError + static_cast<int>(code);
    }
}

int last_error() { return errno_of(::GetLastError()); }

std::string full_name(const Folder& folder, const std::string& name) {
    const bool absolute = name.starts_with('/') || name.starts_with('\\') ||
                          (name.size() >= 2 && name[1] == ':');
    if (folder.path().empty() || absolute) return name;
    return folder.path() + "\\" + name;
}

bool is_folder(const std::string& full) {
    const DWORD attrs = ::GetFileAttributesA(full.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::optional<FileId> id_of(HANDLE h) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h, &info)) return std::nullopt;
    return FileId{info.dwVolumeSerialNumber,
                  (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

// A file just opened with its identity, or the error that ends it. A
// device (NUL, CON) has no identity; none is asked of it elsewhere either.
Opened opened(HANDLE h) {
    const std::optional<FileId> id = id_of(h);
    if (!id && ::GetFileType(h) != FILE_TYPE_DISK) return Opened{ours(h), 0, {}};
    if (!id) {
        const int err = last_error();
        ::CloseHandle(h);
        return Opened{kNoHandle, err, {}};
    }
    return Opened{ours(h), 0, *id};
}

}  // namespace

std::string error_text(int errnum) {
    // glibc's texts for the errors the mapping above produces.
    switch (errnum) {
        case ENOENT: return "No such file or directory";
        case EACCES: return "Permission denied";
        case EROFS: return "Read-only file system";
        case EINVAL: return "Invalid argument";
        case ENOTDIR: return "Not a directory";
        case EISDIR: return "Is a directory";
        case ENOSPC: return "No space left on device";
        case EPIPE: return "Broken pipe";
        case ENAMETOOLONG: return "File name too long";
        case EMFILE: return "Too many open files";
        case ENOMEM: return "Cannot allocate memory";
        case EBADF: return "Bad file descriptor";
        case EEXIST: return "File exists";
        case ENOTEMPTY: return "Directory not empty";
        case EIO: return "Input/output error";
        default: break;
    }
    if (errnum < kNativeError) return std::string("Unknown error ") + std::to_string(errnum);
    char buf[512];
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                               static_cast<DWORD>(errnum - kNativeError), 0, buf, sizeof buf, nullptr);
    // The system's texts end with a line end and often a full stop.
    while (n > 0 && (buf[n - 1] == '\r' || buf[n - 1] == '\n' || buf[n - 1] == ' ')) --n;
    if (n == 0) return "Windows error " + std::to_string(errnum - kNativeError);
    return std::string(buf, n);
}

Opened open_for_reading(const Folder& folder, const std::string& name) {
    const std::string full = full_name(folder, name);
    const HANDLE h = ::CreateFileA(full.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const int err = last_error();
        // Windows refuses a folder as access denied.
        return Opened{kNoHandle, err == EACCES && is_folder(full) ? EISDIR : err, {}};
    }
    return opened(h);
}

Opened create_for_writing(const Folder& folder, const std::string& name) {
    const std::string full = full_name(folder, name);
    // Opened, then emptied, like O_CREAT | O_TRUNC: an existing file keeps
    // its identity and attributes.
    const HANDLE h = ::CreateFileA(full.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const int err = last_error();
        return Opened{kNoHandle, err == EACCES && is_folder(full) ? EISDIR : err, {}};
    }
    if (::GetFileType(h) == FILE_TYPE_DISK && !::SetEndOfFile(h)) {
        const int err = last_error();
        ::CloseHandle(h);
        return Opened{kNoHandle, err, {}};
    }
    return opened(h);
}

std::optional<FileId> identify(const Folder& folder, const std::string& name) {
    // No access asked: only the identity is read. Folders need the backup
    // flag to be opened at all.
    const HANDLE h = ::CreateFileA(full_name(folder, name).c_str(), 0, kShareAll, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    const std::optional<FileId> id = id_of(h);
    ::CloseHandle(h);
    return id;
}

int close(Handle h) { return ::CloseHandle(win(h)) ? 0 : last_error(); }

long read(Handle h, char* buf, std::size_t n, int* err) {
    DWORD got = 0;
    const DWORD want = n > 0x40000000 ? 0x40000000 : static_cast<DWORD>(n);
    if (::ReadFile(win(h), buf, want, &got, nullptr)) return static_cast<long>(got);
    const DWORD code = ::GetLastError();
    // A pipe whose writer has gone is at its end, not in error.
    if (code == ERROR_BROKEN_PIPE || code == ERROR_HANDLE_EOF) return 0;
    *err = errno_of(code);
    return -1;
}

int write_all(Handle h, const char* p, std::size_t n) {
    while (n > 0) {
        const DWORD want = n > 0x40000000 ? 0x40000000 : static_cast<DWORD>(n);
        DWORD put = 0;
        if (!::WriteFile(win(h), p, want, &put, nullptr)) return last_error();
        p += put;
        n -= put;
    }
    return 0;
}

void prepare_console() {
    // A process may start without a standard handle: reads and writes
    // then go to the null device, as on POSIX systems.
    constexpr DWORD kStreams[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    for (const DWORD which : kStreams) {
        const HANDLE h = ::GetStdHandle(which);
        if (h != nullptr && h != INVALID_HANDLE_VALUE) continue;
        const HANDLE null = ::CreateFileA("NUL", which == STD_INPUT_HANDLE ? GENERIC_READ : GENERIC_WRITE,
                                          kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (null != INVALID_HANDLE_VALUE) ::SetStdHandle(which, null);
    }
    // Nothing here writes through the C runtime's streams; binary mode
    // keeps any stray library output from translating line ends too.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

Handle standard_input() { return ours(::GetStdHandle(STD_INPUT_HANDLE)); }
Handle standard_output() { return ours(::GetStdHandle(STD_OUTPUT_HANDLE)); }
Handle standard_error() { return ours(::GetStdHandle(STD_ERROR_HANDLE)); }

LocalTime local_time() {
    SYSTEMTIME t{};
    ::GetLocalTime(&t);
    TIME_ZONE_INFORMATION tz{};
    const DWORD zone = ::GetTimeZoneInformation(&tz);
    LONG bias = tz.Bias;
    if (zone == TIME_ZONE_ID_DAYLIGHT) bias += tz.DaylightBias;
    if (zone == TIME_ZONE_ID_STANDARD) bias += tz.StandardBias;
    return LocalTime{t.wYear,   t.wMonth,  t.wDay,    static_cast<std::int32_t>(-bias),
                     t.wHour,   t.wMinute, t.wSecond, t.wMilliseconds};
}

}  // namespace ferravane::platform
