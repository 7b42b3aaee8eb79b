#pragma once
// Small helpers shared by the scenarios.
#include <windows.h>

#include <string>

#include "driver/host.h"
#include "resources/resource.h"

namespace dactyla::e2e {

// Ids of the program's commands and controls, by the program's own resource ids.
namespace command {
inline constexpr unsigned kAbout = IDM_ABOUT;
inline constexpr unsigned kStartStop = IDM_START_STOP;
inline constexpr unsigned kSettings = IDM_SETTINGS;
inline constexpr unsigned kSwitchLanguage = IDM_SWITCH_LANGUAGE;
inline constexpr unsigned kHelp = IDM_HELP;
inline constexpr unsigned kNewUser = IDM_NEW_USER;
inline constexpr unsigned kProgress = IDM_PROGRESS;
inline constexpr unsigned kAlphabet = IDM_ALPHABET;
inline constexpr unsigned kKeyboard = IDM_KEYBOARD;
inline constexpr unsigned kUserBase = IDM_USER_BASE;
}  // namespace command

namespace control {
inline constexpr int kNewUserName = IDC_NEW_USER_NAME;
inline constexpr int kAboutTotals = IDC_ABOUT_TOTALS;
inline constexpr int kHelpText = IDC_HELP_TEXT;
}  // namespace control

inline constexpr const wchar_t* kDialogClass = L"#32770";

// UTF-8 source text as the wide text Windows shows.
inline std::wstring wide(const std::string& utf8) { return widenUtf8(utf8); }

inline RECT windowRect(HWND window) {
    RECT rect {};
    ::GetWindowRect(window, &rect);
    return rect;
}

}  // namespace dactyla::e2e
