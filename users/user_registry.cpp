#include "users/user_registry.h"

#include <utility>

#include "platform/directory.h"
#include "texts/interface_texts.h"

namespace dactyla {
namespace {

bool isMarked(const std::string& directory) {
    const auto attributes = platform::getAttributes(directory);
    return attributes && (*attributes & platform::attribute::archive) != 0;
}

// Names that would lead out of Users or that Windows would store under another name: the
// directory's name must stay the user's name.
bool leavesItsDirectory(const std::string& name) {
    return name.find_first_of("\\/") != std::string::npos || name.back() == ' ' || name.back() == '.';
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

bool UserRegistry::createUser(const std::string& name) {
    if (name.empty() || name.front() == '.' || leavesItsDirectory(name)) {
        refuse(platform::errorCode::invalidName);
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
