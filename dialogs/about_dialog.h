#pragma once
// The about dialog: pictures, a few words about the program, and how much the current user has
// typed so far, the session in progress included.
#include <cstdint>
#include <string>

#include "platform/win32/windows_headers.h"
#include "users/data_root.h"

namespace dactyla::dialogs {

// Plain values from the caller; the dialog reads nothing else.
struct AboutTotals {
    bool userExists = false;             // without a user the template's zero text stays
    std::uint32_t storedCharacters = 0;  // the user's stored totals
    std::uint32_t storedSeconds = 0;
    std::uint32_t sessionCharacters = 0;  // correct characters of the session in progress
    std::uint8_t sessionMinutes = 0;      // its clock
    std::uint8_t sessionSeconds = 0;
};

// "<characters> символов\n за <hours>:<mm>:<ss>" in CP1251; the hours are not wrapped at 24.
std::string aboutTotalsText(const AboutTotals& totals);

// The description's last line after the release date, in CP1251: the version, and where the
// users' data lives when it is not beside the program.
std::string aboutReleaseText(DataPlace place);

// Runs the about dialog modally over `owner`.
void showAboutDialog(HINSTANCE instance, HWND owner, const AboutTotals& totals,
                     DataPlace place = DataPlace::programFolder);

}  // namespace dactyla::dialogs
