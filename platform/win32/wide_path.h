#pragma once
// Files named by UTF-16 paths, as the system's file dialogs return them: their names need not
// fit CP1251, which the portable File::open takes.
#include <string>

#include "platform/file.h"

namespace dactyla::platform {

// File::open for a UTF-16 path.
File openFile(const std::wstring& path, const OpenOptions& options);

// Both paths name one file: their full paths are equal up to case, as Windows compares names,
// or both lead to the same file on the same volume (another spelling, a link).
bool sameFile(const std::wstring& first, const std::wstring& second);

}  // namespace dactyla::platform
