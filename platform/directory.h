#pragma once
// Directories and the attribute bits the user registry relies on.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dactyla::platform {

// Windows attribute bits, also used by the POSIX implementation.
namespace attribute {
inline constexpr std::uint32_t readOnly = 0x01;
inline constexpr std::uint32_t hidden = 0x02;
inline constexpr std::uint32_t system = 0x04;
inline constexpr std::uint32_t directory = 0x10;
inline constexpr std::uint32_t archive = 0x20;
inline constexpr std::uint32_t normal = 0x80;
}  // namespace attribute

struct DirectoryEntry {
    std::string name;  // CP1251, without the directory part
    std::uint32_t attributes = 0;
    bool isDirectory() const { return (attributes & attribute::directory) != 0; }
};

// Windows error codes, also reported by the POSIX implementation.
namespace errorCode {
inline constexpr std::uint32_t pathNotFound = 3;
inline constexpr std::uint32_t accessDenied = 5;
inline constexpr std::uint32_t invalidName = 123;
inline constexpr std::uint32_t alreadyExists = 183;
}  // namespace errorCode

// On failure `error` (when given) receives the Windows error code. The POSIX implementation
// refuses the names Windows refuses too, so a user directory is valid on both.
bool createDirectory(const std::string& path, std::uint32_t* error = nullptr);
bool directoryExists(const std::string& path);
// Every entry but "." and "..", in the order the system lists them; empty when the
// directory cannot be read.
std::vector<DirectoryEntry> listDirectory(const std::string& path);
std::optional<std::uint32_t> getAttributes(const std::string& path);
bool setAttributes(const std::string& path, std::uint32_t attributes);

// Joins with the system's separator ('\\' on Windows, '/' elsewhere).
std::string joinPath(const std::string& directory, const std::string& name);

}  // namespace dactyla::platform
