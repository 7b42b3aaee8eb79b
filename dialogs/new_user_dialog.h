#pragma once
// The new-user dialog: asks for a name, creates the user through the caller and then shows help.
#include <functional>
#include <string>

#include "platform/win32/windows_headers.h"

namespace dactyla::dialogs {

struct NewUserRequest {
    // Without a user, cancelling ends the program, so the cancel button reads "Выход".
    bool userExists = false;
    // Creates the user with this CP1251 name and shows its own refusals; true on success.
    // Called from the dialog procedure, so it must not throw.
    std::function<bool(const std::string& name)> createUser;
    // Set by the dialog when a user was created.
    bool created = false;
};

// The longest name the dialog accepts, in characters.
inline constexpr int kMaxUserNameLength = 31;

// Runs the new-user dialog modally over `owner`. After a user is created the help dialog opens
// over it, on its first page; the new-user dialog closes when help is closed. True when a user
// was created.
bool showNewUserDialog(HINSTANCE instance, HWND owner, NewUserRequest& request);

}  // namespace dactyla::dialogs
