#pragma once
// What makes a name one Windows cannot give a folder of its own: a user's name is the name of
// their folder, so the registry refuses these before it makes anything.
#include <cstddef>
#include <string>
#include <string_view>

namespace dactyla {

enum class FolderNameFault {
    none,
    badCharacters,     // a character Windows refuses, a path separator, or a leading dot
    reservedDevice,    // CON, PRN, AUX, NUL, COM1..COM9, LPT1..LPT9, with any extension
    endsInDotOrSpace,  // Windows would drop them and make a folder of another name
    tooLong,           // the folder's files would outgrow the Windows path limit
};

// Paths are used without the long-path prefix, so a whole path holds at most this many
// characters (MAX_PATH less its terminating NUL).
inline constexpr std::size_t kLongestPath = 259;
// Room kept for the longest file name the program puts in a user's folder, set-aside and
// temporary suffixes included ("TextData.Rus.utf-16le.original2" is 31).
inline constexpr std::size_t kLongestOwnFileName = 40;

// The longest name a folder inside `parent` may have, so that every file in it stays within the
// path limit; 0 when even a one-character name would not.
std::size_t longestFolderName(const std::string& parent);

FolderNameFault judgeFolderName(std::string_view name, std::size_t longestName);

// The device name a reserved name stands for ("con.txt" -> "con"); empty when it is none.
std::string_view reservedDeviceOf(std::string_view name);

}  // namespace dactyla
