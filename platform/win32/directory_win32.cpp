#include "platform/directory.h"
#include "platform/win32/windows_headers.h"

namespace dactyla::platform {

bool createDirectory(const std::string& path, std::uint32_t* error) {
    const bool created = ::CreateDirectoryW(widen(path).c_str(), nullptr) != 0;
    if (error != nullptr) *error = created ? 0 : ::GetLastError();
    return created;
}

bool directoryExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<DirectoryEntry> listDirectory(const std::string& path) {
    std::vector<DirectoryEntry> entries;
    WIN32_FIND_DATAW found {};
    const HANDLE search = ::FindFirstFileW(widen(joinPath(path, "*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        entries.push_back({narrow(name), found.dwFileAttributes});
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return entries;
}

std::optional<std::uint32_t> getAttributes(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return attributes;
}

bool setAttributes(const std::string& path, std::uint32_t attributes) {
    return ::SetFileAttributesW(widen(path).c_str(), attributes) != 0;
}

std::string joinPath(const std::string& directory, const std::string& name) {
    if (directory.empty() || directory.back() == '\\') return directory + name;
    return directory + "\\" + name;
}

}  // namespace dactyla::platform
