#pragma once
// Shared by the fuzz targets: a loud failure for a broken invariant and a scratch directory.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "platform/file.h"

namespace dactyla::fuzz {

inline void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

// One directory per fuzzing process, removed when it exits.
class ScratchDirectory {
public:
    explicit ScratchDirectory(const std::string& name) {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() / ("dactyla-fuzz-" + name + "-" + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    // ASCII paths, so CP1251 and the native names agree.
    std::string path() const { return path_.string(); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

    void write(const std::string& name, const void* bytes, std::size_t size) const {
        platform::File file = platform::File::open(this->file(name), {.mode = platform::OpenMode::createAlways});
        require(file.write(bytes, size) == size, "scratch file written");
    }

private:
    std::filesystem::path path_;
};

}  // namespace dactyla::fuzz
