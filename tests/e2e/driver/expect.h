#pragma once
// Small helpers shared by the scenarios.
#include <windows.h>

#include <string>

#include "driver/host.h"

namespace dactyla::e2e {

// Ids of the program's commands and controls, as its menus and dialogs define them.
namespace command {
inline constexpr unsigned kAbout = 40007;
inline constexpr unsigned kStartStop = 40008;
inline constexpr unsigned kSettings = 40009;
inline constexpr unsigned kSwitchLanguage = 40017;
inline constexpr unsigned kHelp = 40021;
inline constexpr unsigned kNewUser = 40029;
inline constexpr unsigned kProgress = 40031;
inline constexpr unsigned kAlphabet = 40033;
inline constexpr unsigned kKeyboard = 40042;
inline constexpr unsigned kUserBase = 40200;
}  // namespace command

namespace control {
inline constexpr int kNewUserName = 1090;
inline constexpr int kAboutTotals = 1106;
inline constexpr int kHelpText = 9000;
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
