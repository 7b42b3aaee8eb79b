#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "platform/cp1251.h"
#include "platform/sound_player.h"
#include "platform/system.h"

namespace dactyla::platform {

std::uint32_t tickCount() {
    timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                    static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

Date utcDate() {
    const std::time_t now = std::time(nullptr);
    std::tm parts {};
    ::gmtime_r(&now, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday};
}

std::string programDirectory() {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0) return ".";
    std::string path(buffer, static_cast<std::size_t>(length));
    path.erase(path.find_last_of('/'));
    return utf8ToCp1251(path);
}

std::string temporaryDirectory() {
    const char* fromEnvironment = std::getenv("TMPDIR");
    std::string path = fromEnvironment && *fromEnvironment ? fromEnvironment : "/tmp";
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return utf8ToCp1251(path);
}

std::string localAppDataDirectory() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && *dataHome == '/') return utf8ToCp1251(dataHome);
    const char* home = std::getenv("HOME");
    if (!home || *home != '/') return {};
    return utf8ToCp1251(std::string(home) + "/.local/share");
}

void sleepMs(std::uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

namespace {

// No audio device is assumed here: sounds "start" when their file exists.
class SilentPlayer final : public SoundPlayer {
public:
    bool play(const std::string& path, unsigned) override { return ::access(cp1251ToUtf8(path).c_str(), R_OK) == 0; }
    void stop() override {}
};

}  // namespace

SoundPlayer& systemSoundPlayer() {
    static SilentPlayer player;
    return player;
}

}  // namespace dactyla::platform
