#pragma once
// Which language the program speaks to a user, kept in a small file of its own beside the
// user's options: "Interface.txt", one line holding the language's tag ("en"). No file means
// the program's own language, Russian. A file that holds anything else is damaged: it counts
// as no choice and is moved aside the next time a choice is stored.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/stored_file.h"

namespace dactyla {

inline constexpr const char* kInterfaceFileName = "Interface.txt";

struct StoredInterfaceLanguage {
    StoredFileState state = StoredFileState::missing;
    std::string tag;  // one of the known tags when valid
};

std::string interfaceLanguagePath(const std::string& userDirectory);

// The tag written in `bytes`, if it is one of `knownTags`: the line may end in CR LF or LF.
std::optional<std::string> decodeInterfaceLanguage(std::string_view bytes, const std::vector<std::string>& knownTags);

StoredInterfaceLanguage loadInterfaceLanguage(const std::string& userDirectory,
                                              const std::vector<std::string>& knownTags);

// Writes the tag through a temporary file and a replace; a damaged file is moved aside first, one
// that cannot be read is left alone. False when nothing was stored (the choice then lasts only
// for this run).
bool storeInterfaceLanguage(const std::string& userDirectory, const std::string& tag,
                            const std::vector<std::string>& knownTags);

}  // namespace dactyla
