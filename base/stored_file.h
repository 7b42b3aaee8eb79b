#pragma once
// How the program reads back a small file of its own: it is missing (nothing stored yet), there
// but unreadable (another program holds it: it may be good, so it is never set aside), damaged
// (what it holds does not decode: it counts as nothing stored and is set aside before the next
// write) or valid.
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "platform/file.h"

namespace dactyla {

enum class StoredFileState { missing, valid, unreadable, damaged };

template <class Value>
struct StoredFile {
    StoredFileState state = StoredFileState::missing;
    Value value {};  // value-initialised unless valid
};

// `decode` takes the whole file as a string_view and answers a std::optional of what it holds.
template <class Decode>
auto readStoredFile(const std::string& path, Decode&& decode) {
    using Value = typename std::invoke_result_t<Decode&, std::string_view>::value_type;
    StoredFile<Value> stored;
    if (!platform::fileExists(path)) return stored;
    const std::optional<std::string> bytes = platform::readWholeFile(path);
    if (!bytes) {
        stored.state = StoredFileState::unreadable;
        return stored;
    }
    std::optional<Value> value = decode(std::string_view(*bytes));
    if (!value) {
        stored.state = StoredFileState::damaged;
        return stored;
    }
    stored.state = StoredFileState::valid;
    stored.value = std::move(*value);
    return stored;
}

}  // namespace dactyla
