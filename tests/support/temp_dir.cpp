#include "support/temp_dir.h"

#include <atomic>
#include <filesystem>
#include <stdexcept>

#include "platform/cp1251.h"
#include "platform/directory.h"
#include "platform/file.h"
#include "platform/system.h"

namespace dactyla::testing {
namespace {

std::filesystem::path nativeOf(const std::string& cp1251) {
    const std::u16string wide = platform::cp1251ToUtf16(cp1251);
#ifdef _WIN32
    return std::filesystem::path(std::wstring(wide.begin(), wide.end()));
#else
    return std::filesystem::path(platform::cp1251ToUtf8(cp1251));
#endif
}

}  // namespace

TempDir::TempDir() {
    static std::atomic<unsigned> counter {0};
    const std::string base = platform::temporaryDirectory();
    for (;;) {
        path_ = platform::joinPath(base, "dactyla-test-" + std::to_string(platform::tickCount()) + "-" +
                                             std::to_string(counter++));
        if (platform::createDirectory(path_)) return;
        if (!platform::directoryExists(path_)) throw std::runtime_error("cannot create " + path_);
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(nativeOf(path_), ignored);
}

std::string TempDir::file(const std::string& name) const { return platform::joinPath(path_, name); }

void TempDir::write(const std::string& name, const std::string& content) const {
    auto out = platform::File::open(file(name), {.mode = platform::OpenMode::createAlways});
    if (out.write(content.data(), content.size()) != content.size()) throw std::runtime_error("write " + name);
}

std::string TempDir::read(const std::string& name) const {
    return platform::readWholeFile(file(name)).value_or(std::string("<missing>"));
}

}  // namespace dactyla::testing
