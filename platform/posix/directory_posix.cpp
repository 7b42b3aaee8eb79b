#include <dirent.h>
#include <errno.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>

#include "platform/directory.h"
#include "platform/posix/native_path.h"

namespace dactyla::platform {
namespace {

// The bits POSIX has no place for live in an extended attribute.
constexpr const char* kAttributeName = "user.dactyla.attributes";
constexpr std::uint32_t kStoredBits = attribute::archive | attribute::hidden | attribute::system;

std::uint32_t storedBits(const std::string& native, bool isDirectory) {
    std::uint32_t bits = 0;
    if (::getxattr(native.c_str(), kAttributeName, &bits, sizeof bits) == sizeof bits)
        return bits & kStoredBits;
    // Like Windows: a file is created with the archive mark, a directory without.
    return isDirectory ? 0 : attribute::archive;
}

std::optional<std::uint32_t> attributesOfNative(const std::string& native) {
    struct stat info {};
    if (::stat(native.c_str(), &info) != 0) return std::nullopt;
    const bool isDirectory = S_ISDIR(info.st_mode);
    std::uint32_t bits = storedBits(native, isDirectory);
    if (isDirectory) bits |= attribute::directory;
    if ((info.st_mode & S_IWUSR) == 0) bits |= attribute::readOnly;
    return bits == 0 ? attribute::normal : bits;
}

}  // namespace

bool createDirectory(const std::string& path, std::uint32_t* error) {
    const std::string name = path.substr(path.find_last_of('/') + 1);
    std::uint32_t code = 0;
    if (name.empty() || name.find_first_of("\\:*?\"<>|") != std::string::npos ||
        std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
        code = errorCode::invalidName;
    } else if (::mkdir(nativePath(path).c_str(), 0777) != 0) {
        code = errno == EEXIST                              ? errorCode::alreadyExists
               : errno == ENOENT || errno == ENOTDIR         ? errorCode::pathNotFound
               : errno == ENAMETOOLONG || errno == EINVAL   ? errorCode::invalidName
                                                             : errorCode::accessDenied;
    }
    if (error != nullptr) *error = code;
    return code == 0;
}

bool directoryExists(const std::string& path) {
    struct stat info {};
    return ::stat(nativePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::vector<DirectoryEntry> listDirectory(const std::string& path) {
    std::vector<DirectoryEntry> entries;
    const std::string native = nativePath(path);
    DIR* dir = ::opendir(native.c_str());
    if (dir == nullptr) return entries;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        const auto bits = attributesOfNative(native + "/" + name);
        if (!bits) continue;
        entries.push_back({utf8ToCp1251(name), *bits});
    }
    ::closedir(dir);
    return entries;
}

std::optional<std::uint32_t> getAttributes(const std::string& path) {
    return attributesOfNative(nativePath(path));
}

bool setAttributes(const std::string& path, std::uint32_t attributes) {
    const std::string native = nativePath(path);
    const std::uint32_t bits = attributes & kStoredBits;
    return ::setxattr(native.c_str(), kAttributeName, &bits, sizeof bits, 0) == 0;
}

std::string joinPath(const std::string& directory, const std::string& name) {
    if (directory.empty() || directory.back() == '/') return directory + name;
    return directory + "/" + name;
}

}  // namespace dactyla::platform
