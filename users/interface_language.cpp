#include "users/interface_language.h"

#include <algorithm>

#include "base/whole_file.h"
#include "platform/directory.h"
#include "platform/file.h"

namespace dactyla {
namespace {

// A tag and its line end; anything longer is not a file this program wrote.
constexpr std::size_t kLongestFile = 32;


}  // namespace

std::string interfaceLanguagePath(const std::string& userDirectory) {
    return platform::joinPath(userDirectory, kInterfaceFileName);
}

std::optional<std::string> decodeInterfaceLanguage(std::string_view bytes, const std::vector<std::string>& knownTags) {
    if (bytes.size() > kLongestFile) return std::nullopt;
    if (bytes.ends_with("\r\n")) bytes.remove_suffix(2);
    else if (bytes.ends_with('\n')) bytes.remove_suffix(1);
    const auto known = std::find(knownTags.begin(), knownTags.end(), bytes);
    if (known == knownTags.end()) return std::nullopt;
    return *known;
}

StoredInterfaceLanguage loadInterfaceLanguage(const std::string& userDirectory,
                                              const std::vector<std::string>& knownTags) {
    auto stored = readStoredFile(interfaceLanguagePath(userDirectory),
                                 [&](std::string_view bytes) { return decodeInterfaceLanguage(bytes, knownTags); });
    return {stored.state, std::move(stored.value)};
}

bool storeInterfaceLanguage(const std::string& userDirectory, const std::string& tag,
                            const std::vector<std::string>& knownTags) {
    const std::string path = interfaceLanguagePath(userDirectory);
    const StoredFileState state = loadInterfaceLanguage(userDirectory, knownTags).state;
    // A file another program holds is left alone: it may be this user's choice.
    if (state == StoredFileState::unreadable) return false;
    if (state == StoredFileState::damaged && !setFileAside(path)) return false;
    return writeWholeFileReplacing(path, tag + "\r\n");
}

}  // namespace dactyla
