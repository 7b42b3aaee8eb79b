#pragma once
// The one way this program includes <windows.h>.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

#include "platform/cp1251.h"

namespace dactyla::platform {

// The wide API is used everywhere, so Russian names work whatever the system code page.
inline std::wstring widen(const std::string& cp1251) {
    const std::u16string wide = cp1251ToUtf16(cp1251);
    return std::wstring(wide.begin(), wide.end());
}

inline std::string narrow(const std::wstring& wide) {
    return utf16ToCp1251(std::u16string(wide.begin(), wide.end()));
}

}  // namespace dactyla::platform
