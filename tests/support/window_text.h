#pragma once
// The text of a window of this process, read through the wide API so Russian comes back whole on
// any code page.
#ifdef _WIN32

#include <string>

#include "platform/win32/windows_headers.h"

namespace dactyla::testing {

inline std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace dactyla::testing

#endif
