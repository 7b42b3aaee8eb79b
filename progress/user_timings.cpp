#include "progress/user_timings.h"

#include "progress/timing_statistics.h"

namespace dactyla {

UserTimings::UserTimings() : storedKeys_(kByteValues), keys_(kByteValues) {}

void UserTimings::load(const std::string& userDirectory, bool russian) {
    const LoadedKeyStatistics loaded = loadKeyStatistics(keyStatisticsPath(userDirectory, russian));
    stored_ = loaded.state;
    for (std::size_t k = 0; k < kByteValues; ++k) storedKeys_[k] = loaded.timing.key(static_cast<unsigned char>(k));
    startSessionPart();
}

void UserTimings::clear() {
    stored_ = StoredFileState::missing;
    storedKeys_.assign(kByteValues, KeyTiming {});
    startSessionPart();
}

void UserTimings::follow(std::span<const TimedKeystroke> session) {
    if (session.size() < followed_) startSessionPart();
    for (const TimedKeystroke& keystroke : session.subspan(followed_)) addKeystroke(keys_[keystroke.expected], keystroke);
    followed_ = session.size();
}

void UserTimings::startSessionPart() {
    keys_ = storedKeys_;
    followed_ = 0;
}

}  // namespace dactyla
