#include "base/whole_file.h"

#include "platform/file.h"

namespace dactyla {
namespace {

constexpr int kMaxSetAsideNames = 99;

}  // namespace

bool writeWholeFileReplacing(const std::string& path, std::string_view bytes) {
    const std::string temporary = path + ".new";
    bool written = false;
    {
        platform::File file = platform::File::open(temporary, {.mode = platform::OpenMode::createAlways,
                                                               .hint = platform::AccessHint::sequential});
        written = file.isOpen() && file.write(bytes.data(), bytes.size()) == bytes.size() && file.flush();
    }
    if (written && platform::replaceFile(temporary, path)) return true;
    platform::deleteFile(temporary);
    return false;
}

std::string setAsideName(const std::string& path) {
    for (int k = 1; k <= kMaxSetAsideNames; ++k) {
        std::string name = path + ".damaged";
        if (k > 1) name += std::to_string(k);
        if (!platform::fileExists(name)) return name;
    }
    return {};
}

bool setFileAside(const std::string& path) {
    const std::string aside = setAsideName(path);
    return !aside.empty() && platform::replaceFile(path, aside);
}

}  // namespace dactyla
