#pragma once
// Time and the places the program lives in.
#include <cstdint>
#include <string>

namespace dactyla::platform {

// Milliseconds since an arbitrary start, wrapping at 2^32 like GetTickCount.
std::uint32_t tickCount();

struct Date {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
};
Date utcDate();

// The directory of the running executable, without a trailing separator.
std::string programDirectory();
// The system's directory for temporary files, without a trailing separator.
std::string temporaryDirectory();
// The current user's folder for local application data (%LOCALAPPDATA% on Windows, the XDG
// data home elsewhere), without a trailing separator; empty when the system names none.
std::string localAppDataDirectory();

void sleepMs(std::uint32_t milliseconds);

}  // namespace dactyla::platform
