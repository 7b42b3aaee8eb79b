#pragma once
// Playback of WAV files with sndPlaySound semantics.
#include <string>

namespace dactyla::platform {

namespace soundFlag {
inline constexpr unsigned sync = 0x0000;
inline constexpr unsigned async = 0x0001;
inline constexpr unsigned noDefault = 0x0002;
inline constexpr unsigned loop = 0x0008;
inline constexpr unsigned noStop = 0x0010;
}  // namespace soundFlag

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts `path` (CP1251) and reports whether it started; a new sound replaces a playing
    // one unless `noStop` is given, in which case a playing sound makes the call fail.
    virtual bool play(const std::string& path, unsigned flags) = 0;
    // Silences whatever is playing.
    virtual void stop() = 0;
};

// The player of this platform: real playback on Windows, silence elsewhere.
SoundPlayer& systemSoundPlayer();

}  // namespace dactyla::platform
