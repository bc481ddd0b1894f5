// The two files of a run: the defaults file, open for reading the whole run,
// and the report file, created or emptied by the first table stored in it.
// Names are looked up relative to a folder (the working folder in the
// program, a scratch folder in tests).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/platform.hpp"
#include "textio/in_stream.hpp"
#include "textio/out_stream.hpp"
#include "textio/text20.hpp"

namespace ferravane::textio {

inline constexpr const char* kDefaultsFileName = "Ferravane.DEF";

// Identity of an open file, to recognise the same file under another name.
using FileId = platform::FileId;

class DefaultsFile {
public:
    // Opens the existing file for reading; any failure stops the run.
    explicit DefaultsFile(const platform::Folder& folder);
    ~DefaultsFile();
    DefaultsFile(const DefaultsFile&) = delete;
    DefaultsFile& operator=(const DefaultsFile&) = delete;

    InStream& stream() { return *stream_; }
    FileId id() const { return id_; }

private:
    platform::Handle h_ = platform::kNoHandle;
    FileId id_;
    std::unique_ptr<HandleSource> source_;
    std::unique_ptr<InStream> stream_;
};

class ReportFile {
public:
    explicit ReportFile(platform::Folder folder) : folder_(std::move(folder)) {}
    ~ReportFile();
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    // Makes the file named fn (trailing blanks removed) the report file of
    // the next table. The file still open from an earlier table, named
    // again, stays open and the table is appended to it; any other name
    // closes the open file and creates or empties the named one. The
    // defaults file (when open) is refused. Failures stop the run.
    void open(const Text20& fn, const std::optional<FileId>& defaults);

    bool is_open() const { return h_ != platform::kNoHandle; }
    void write(std::string_view bytes) { stream_->write(bytes); }
    // Delivers the buffered lines, so a finished table is on disk while the
    // program waits for the next answer.
    void flush() {
        if (is_open()) stream_->flush();
    }

    // Writes out what is buffered and closes; failures stop the run.
    void close();
    // On the way out of a run stop: keep every line written, ignore errors.
    void close_after_stop() noexcept;

private:
    platform::Folder folder_;
    platform::Handle h_ = platform::kNoHandle;
    FileId id_;
    std::string name_;
    std::unique_ptr<HandleSink> sink_;
    std::unique_ptr<OutStream> stream_;
};

}  // namespace ferravane::textio
