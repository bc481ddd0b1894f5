// Scratch folders and whole files, the same on every system.
#pragma once

#include <map>
#include <string>

#include "platform/platform.hpp"

namespace ferravane::testing {

// The whole file; throws when it cannot be read.
std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& bytes);

// A file of the source tree, by its path from the top ("data/Ferravane.DEF").
std::string source_path(const std::string& relative);

// The shipped defaults file, data/Ferravane.DEF.
const std::string& shipped_defaults();

// A fresh empty folder under the system's temporary folder, removed with
// everything in it (whatever its permissions) when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return path_; }
    std::string path(const std::string& name) const { return path_ + "/" + name; }
    platform::Folder folder() const { return platform::Folder(path_); }

    void put(const std::string& name, const std::string& bytes) const { write_file(path(name), bytes); }
    // The regular files in the folder (not below it), by name.
    std::map<std::string, std::string> files() const;

private:
    std::string path_;
};

}  // namespace ferravane::testing
