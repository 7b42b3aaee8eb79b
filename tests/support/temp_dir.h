#pragma once
// A fresh directory per test, removed with everything in it afterwards.
#include <string>

namespace dactyla::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // CP1251 path, usable with the platform layer.
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const;
    // Writes `content` to `name` inside the directory, replacing what was there.
    void write(const std::string& name, const std::string& content) const;
    std::string read(const std::string& name) const;

private:
    std::string path_;
};

}  // namespace dactyla::testing
