#include "users/user_registry.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "platform/directory.h"
#include "users/folder_name.h"
#include "texts/interface_texts.h"

namespace dactyla {
namespace {

bool isMarked(const std::string& directory) {
    const auto attributes = platform::getAttributes(directory);
    return attributes && (*attributes & platform::attribute::archive) != 0;
}

// Texts are whole literals with one printf field at most.
template <typename Value>
std::string formatText(std::string_view key, Value value) {
    std::string text(texts::text(key).size() + 64, '\0');
    const int length = std::snprintf(text.data(), text.size(), texts::textC(key), value);
    text.resize(length > 0 ? std::min(static_cast<std::size_t>(length), text.size() - 1) : 0);
    return text;
}

}  // namespace

std::string createUserRefusal(std::uint32_t errorCode) {
    switch (errorCode) {
    case platform::errorCode::invalidName:
        return texts::textString("users.badCharacters");
    case platform::errorCode::alreadyExists:
        return texts::textString("users.exists");
    default:
        // and the code as a signed number
        return texts::textString("users.sneakyError") +
               std::to_string(static_cast<std::int32_t>(errorCode));
    }
}

UserRegistry::UserRegistry(std::string programDirectory, LiveOptions& live, UserHost& host)
    : programDirectory_(std::move(programDirectory)), live_(live), host_(host) {}

std::string UserRegistry::usersDirectory() const { return platform::joinPath(programDirectory_, "Users"); }

std::string UserRegistry::directoryOf(const UserNode& user) const {
    return platform::joinPath(usersDirectory(), user.name);
}

std::string UserRegistry::userDirectory() const {
    return current_ ? directoryOf(users_[*current_]) : std::string();
}

const UserNode* UserRegistry::currentUser() const { return current_ ? &users_[*current_] : nullptr; }

void UserRegistry::addUser(const std::string& name) {
    const auto number = static_cast<std::int32_t>(users_.size() + 1);
    users_.push_back(UserNode {.name = name, .number = number});
    host_.addUserMenuItem(name, number);
}

bool UserRegistry::loadUsers() {
    const std::string root = usersDirectory();
    if (!platform::getAttributes(root)) platform::createDirectory(root);

    std::int32_t marked = 0;
    for (const platform::DirectoryEntry& entry : platform::listDirectory(root)) {
        if (!entry.isDirectory() || entry.name.empty() || entry.name.front() == '.') continue;
        addUser(entry.name);
        // Until a user is selected the newest one counts as current, so selecting clears its mark.
        current_ = users_.size() - 1;
        if (isMarked(directoryOf(users_.back()))) marked = users_.back().number;
    }
    if (users_.empty()) return false;
    selectUser(marked != 0 ? marked : 1);
    return true;
}

bool UserRegistry::selectUser(std::int32_t number) {
    if (number < 1 || static_cast<std::size_t>(number) > users_.size()) return false;
    if (current_) {
        platform::setAttributes(directoryOf(users_[*current_]), platform::attribute::normal);
        host_.closeCorpus();
    }
    current_ = static_cast<std::size_t>(number - 1);
    const std::string directory = userDirectory();
    readOptions(live_, directory);
    host_.openCorpus();
    host_.checkUserItem(number);
    host_.checkAlphabetItem();
    platform::setAttributes(directory, platform::attribute::archive);
    return true;
}

std::string folderNameRefusal(const std::string& name, std::size_t longestName) {
    switch (judgeFolderName(name, longestName)) {
    case FolderNameFault::none:
        return {};
    case FolderNameFault::badCharacters:
        return createUserRefusal(platform::errorCode::invalidName);
    case FolderNameFault::endsInDotOrSpace:
        return texts::textString("users.endsInDotOrSpace");
    case FolderNameFault::reservedDevice:
        return formatText("users.reservedName", std::string(reservedDeviceOf(name)).c_str());
    case FolderNameFault::tooLong:
        return formatText("users.tooLong", static_cast<unsigned>(longestName));
    }
    return {};
}

bool UserRegistry::createUser(const std::string& name) {
    // Judged before anything is made, so a refusal leaves no folder and no menu item behind.
    if (const std::string refusal = folderNameRefusal(name, longestFolderName(usersDirectory()));
        !refusal.empty()) {
        host_.showError(refusal, texts::textString("bummer"));
        return false;
    }
    std::uint32_t error = 0;
    if (!platform::createDirectory(platform::joinPath(usersDirectory(), name), &error)) {
        refuse(error);
        return false;
    }
    // The outgoing user keeps the settings changed for them; the new user starts with them too.
    if (current_ && live_.optionsDirty) writeOptions(live_);
    addUser(name);
    selectUser(users_.back().number);
    return true;
}

void UserRegistry::refuse(std::uint32_t errorCode) {
    host_.showError(createUserRefusal(errorCode), texts::textString("bummer"));
}

}  // namespace dactyla
