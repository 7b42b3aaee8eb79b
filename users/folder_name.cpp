#include "users/folder_name.h"

#include <algorithm>
#include <array>

namespace dactyla {
namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return upper(x) == upper(y);
           });
}

bool isNumberedDevice(std::string_view stem) {
    return stem.size() == 4 && (equalsIgnoringCase(stem.substr(0, 3), "COM") ||
                                equalsIgnoringCase(stem.substr(0, 3), "LPT")) &&
           stem[3] >= '1' && stem[3] <= '9';
}

bool holdsRefusedCharacter(std::string_view name) {
    return name.find_first_of("\\/:*?\"<>|") != std::string_view::npos ||
           std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

}  // namespace

std::size_t longestFolderName(const std::string& parent) {
    // The separators before the name and before the file.
    const std::size_t taken = parent.size() + 2 + kLongestOwnFileName;
    return taken < kLongestPath ? kLongestPath - taken : 0;
}

std::string_view reservedDeviceOf(std::string_view name) {
    // Windows reads "CON.txt" and "con .log" as the device too: only the part before the first dot
    // counts, trailing spaces dropped.
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
    constexpr std::array<std::string_view, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
    const bool named = std::any_of(kDevices.begin(), kDevices.end(),
                                   [stem](std::string_view device) { return equalsIgnoringCase(stem, device); });
    return named || isNumberedDevice(stem) ? stem : std::string_view();
}

FolderNameFault judgeFolderName(std::string_view name, std::size_t longestName) {
    if (name.empty() || name.front() == '.' || holdsRefusedCharacter(name)) return FolderNameFault::badCharacters;
    if (name.back() == '.' || name.back() == ' ') return FolderNameFault::endsInDotOrSpace;
    if (!reservedDeviceOf(name).empty()) return FolderNameFault::reservedDevice;
    if (name.size() > longestName) return FolderNameFault::tooLong;
    return FolderNameFault::none;
}

}  // namespace dactyla
