#pragma once
// What the dialog procedures share: the caller's struct travels in the WM_INITDIALOG parameter
// and stays in GWLP_USERDATA for the dialog's lifetime.
#include <string>

#include "platform/win32/windows_headers.h"
#include "shell/handles.h"

namespace dactyla::dialogs {

// Keeps the struct at WM_INITDIALOG and returns it for every later message; null for the
// few messages that arrive before WM_INITDIALOG.
template <typename Data>
Data* dialogData(HWND dialog, UINT message, LPARAM lParam) noexcept {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, GWLP_USERDATA, lParam);
        return reinterpret_cast<Data*>(lParam);
    }
    return reinterpret_cast<Data*>(::GetWindowLongPtrW(dialog, GWLP_USERDATA));
}

// The text of a control, at most maxCharacters long.
inline std::wstring controlText(HWND dialog, int id, int maxCharacters) {
    std::wstring text(static_cast<std::size_t>(maxCharacters) + 1, L'\0');
    const UINT length = ::GetDlgItemTextW(dialog, id, text.data(), maxCharacters + 1);
    text.resize(length);
    return text;
}

// Gives every control the dialog's font asked for again with the Cyrillic character set, and
// returns that font, which must outlive the controls. Some systems ignore the character set a
// template names and, on a code page other than 1251, pick a face variant without Russian
// letters. Without a font to copy nothing changes.
inline app::UniqueFont useCyrillicFont(HWND dialog) noexcept {
    LOGFONTW description {};
    const auto current = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (current == nullptr || ::GetObjectW(current, sizeof(description), &description) == 0) return {};
    description.lfCharSet = RUSSIAN_CHARSET;
    app::UniqueFont font(::CreateFontIndirectW(&description));
    if (!font) return {};
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    }
    return font;
}

inline void selectAllAndFocus(HWND dialog, int editId) noexcept {
    const HWND edit = ::GetDlgItem(dialog, editId);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    ::SetFocus(edit);
}

}  // namespace dactyla::dialogs
