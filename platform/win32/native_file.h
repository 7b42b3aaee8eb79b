#pragma once
#include "platform/file.h"
#include "platform/win32/windows_headers.h"

namespace dactyla::platform {

// The handle of an open File, INVALID_HANDLE_VALUE for a closed one: for the Win32 half of the
// platform only.
HANDLE nativeHandle(const File& file);

}  // namespace dactyla::platform
