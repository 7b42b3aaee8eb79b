#include "platform/sound_player.h"
#include "platform/system.h"
#include "platform/win32/windows_headers.h"

#include <mmsystem.h>
#include <shlobj.h>

namespace dactyla::platform {

std::uint32_t tickCount() { return ::GetTickCount(); }

Date utcDate() {
    SYSTEMTIME now {};
    ::GetSystemTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}

std::string programDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return ".";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    path.erase(path.find_last_of(L'\\'));
    return narrow(path);
}

std::string temporaryDirectory() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
    std::wstring path(buffer, length);
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    return narrow(path);
}

std::string localAppDataDirectory() {
    wchar_t buffer[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer))) return {};
    return narrow(buffer);
}

void sleepMs(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

namespace {

static_assert(soundFlag::sync == SND_SYNC && soundFlag::async == SND_ASYNC && soundFlag::noDefault == SND_NODEFAULT &&
              soundFlag::loop == SND_LOOP && soundFlag::noStop == SND_NOSTOP);

class WinmmPlayer final : public SoundPlayer {
public:
    bool play(const std::string& path, unsigned flags) override {
        return ::sndPlaySoundW(widen(path).c_str(), flags) != FALSE;
    }
    void stop() override { ::sndPlaySoundW(nullptr, 0); }
};

}  // namespace

SoundPlayer& systemSoundPlayer() {
    static WinmmPlayer player;
    return player;
}

}  // namespace dactyla::platform
