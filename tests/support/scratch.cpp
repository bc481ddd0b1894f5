#include "scratch.hpp"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "support_config.hpp"

namespace ferravane::testing {

namespace fs = std::filesystem;

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

std::string source_path(const std::string& relative) { return std::string(kSourceDir) + "/" + relative; }

const std::string& shipped_defaults() {
    static const std::string bytes = read_file(source_path("data/Ferravane.DEF"));
    return bytes;
}

ScratchDir::ScratchDir() {
    static std::mt19937_64 random{std::random_device{}()};
    const fs::path root = fs::temp_directory_path();
    for (int tries = 0; tries < 100; ++tries) {
        const fs::path p = root / ("ferravane-test-" + std::to_string(random()));
        if (fs::create_directory(p)) {
            path_ = p.generic_string();
            return;
        }
    }
    throw std::runtime_error("cannot make a scratch folder in " + root.string());
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    // Tests take permissions away; give them back so that the tree goes.
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(path_, ec);
}

std::map<std::string, std::string> ScratchDir::files() const {
    std::map<std::string, std::string> out;
    for (const fs::directory_entry& e : fs::directory_iterator(path_)) {
        if (e.is_regular_file()) out[e.path().filename().string()] = read_file(e.path().string());
    }
    return out;
}

}  // namespace ferravane::testing
