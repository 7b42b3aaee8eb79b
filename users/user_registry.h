#pragma once
// The users of the program: one directory each under Users beside the program. The archive mark
// of a user's directory names the user that was current last, so the next run starts with them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "users/options_file.h"

namespace dactyla {

struct UserNode {
    std::string name;         // CP1251, equal to the directory name
    std::int32_t number = 0;  // 1-based; the user's menu item is 40200 + number
};

// What the registry needs from the program around it: the user menu, the message box and the
// sentence corpus of the current user.
class UserHost {
public:
    virtual ~UserHost() = default;
    virtual void addUserMenuItem(const std::string& name, std::int32_t number) = 0;
    virtual void checkUserItem(std::int32_t number) = 0;
    virtual void checkAlphabetItem() = 0;
    // A message box owned by the active window, with the error icon and an OK button.
    virtual void showError(const std::string& text, const std::string& title) = 0;
    // Closes the open corpus, if any.
    virtual void closeCorpus() = 0;
    // Opens the corpus of the current user (userDirectory) in the live language.
    virtual void openCorpus() = 0;
};

class UserRegistry {
public:
    // `live` receives each selected user's options; both references must outlive the registry.
    UserRegistry(std::string programDirectory, LiveOptions& live, UserHost& host);

    // Finds the users, selects the one marked last (or the first); true when any user exists.
    bool loadUsers();
    // Makes user `number` current and moves the mark to it; false (and nothing changes) when
    // there is no such user.
    bool selectUser(std::int32_t number);
    // Creates the user's directory, adds and selects the user; a refusal is shown and changes nothing.
    bool createUser(const std::string& name);

    // The current user's directory; empty while no user is current.
    std::string userDirectory() const;
    std::string usersDirectory() const;
    const UserNode* currentUser() const;
    const std::vector<UserNode>& users() const { return users_; }

private:
    std::string directoryOf(const UserNode& user) const;
    void addUser(const std::string& name);
    void refuse(std::uint32_t errorCode);

    std::string programDirectory_;
    LiveOptions& live_;
    UserHost& host_;
    std::vector<UserNode> users_;
    std::optional<std::size_t> current_;  // index into users_
};

// The text the registry shows when a user's directory is refused with `errorCode`.
std::string createUserRefusal(std::uint32_t errorCode);
// The text shown when `name` cannot be a folder whose names may hold `longestName` characters;
// empty when it can.
std::string folderNameRefusal(const std::string& name, std::size_t longestName);

}  // namespace dactyla
