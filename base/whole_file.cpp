#include "base/whole_file.h"

#include <algorithm>
#include <vector>

namespace dactyla {
namespace {

constexpr int kMaxSetAsideNames = 99;
constexpr std::size_t kCopyBlock = 64 * 1024;

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

bool copyInBlocks(platform::File& from, std::uint64_t size, const std::function<bool(std::string_view)>& put) {
    std::vector<char> block(static_cast<std::size_t>(std::min<std::uint64_t>(size, kCopyBlock)));
    for (std::uint64_t left = size; left > 0;) {
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(left, block.size()));
        if (from.read(block.data(), want) != want || !put(std::string_view(block.data(), want))) return false;
        left -= want;
    }
    return true;
}

bool copyWholeFile(const std::string& source, const std::string& target) {
    const std::string part = target + ".part";
    bool copied = false;
    {
        platform::File from = platform::File::open(
            source, {.mode = platform::OpenMode::existing, .hint = platform::AccessHint::sequential, .readOnly = true});
        platform::File to = platform::File::open(
            part, {.mode = platform::OpenMode::createAlways, .hint = platform::AccessHint::sequential});
        const std::optional<std::uint64_t> size = from.size();
        copied = from.isOpen() && to.isOpen() && size &&
                 copyInBlocks(from, *size, [&to](std::string_view bytes) {
                     return to.write(bytes.data(), bytes.size()) == bytes.size();
                 }) &&
                 to.flush();
    }
    if (copied && platform::replaceFile(part, target)) return true;
    platform::deleteFile(part);
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
