#pragma once
// The key timings of one user and language as the course and the keyboard guide judge them:
// what the statistics file holds, with the keystrokes of the running session added, so a key's
// mastery rises while it is typed and a line's end can unlock the next key.
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "drill/keystroke_timing.h"
#include "progress/key_timing.h"
#include "progress/key_statistics.h"

namespace dactyla {

class UserTimings {
public:
    UserTimings();

    // Reads the user's statistics of the language afresh: at a session's start and end and when
    // the user or the language changes. A file that is missing, held or damaged gives no
    // timings and is left as it is; storing the next session deals with it.
    void load(const std::string& userDirectory, bool russian);
    // No user: no timings.
    void clear();

    // The running session's keystrokes so far, in the order typed (Drill::keystrokes()): those
    // not seen yet are added. Fewer than last time means they were stored and a new session
    // began, so the session part starts again from the stored timings.
    void follow(std::span<const TimedKeystroke> session);

    const KeyTiming& key(unsigned char character) const { return keys_[character]; }
    // How the statistics file was found at the last load.
    StoredFileState stored() const { return stored_; }

private:
    void startSessionPart();

    std::vector<KeyTiming> storedKeys_;  // 256, as read; too big for the window thread's stack
    std::vector<KeyTiming> keys_;        // the stored ones with the session's keystrokes
    std::size_t followed_ = 0;           // session keystrokes already in keys_
    StoredFileState stored_ = StoredFileState::missing;
};

}  // namespace dactyla
