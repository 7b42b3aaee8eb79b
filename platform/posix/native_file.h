#pragma once
#include "platform/file.h"

namespace dactyla::platform {

// The descriptor of an open File, -1 for a closed one: for the POSIX half of the platform only.
int nativeDescriptor(const File& file);

}  // namespace dactyla::platform
