#pragma once
#include <string>

#include "platform/cp1251.h"

namespace dactyla::platform {

// POSIX file names are UTF-8; the program's are CP1251.
inline std::string nativePath(const std::string& path) { return cp1251ToUtf8(path); }

}  // namespace dactyla::platform
