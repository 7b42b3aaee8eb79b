#pragma once
// The on-screen keyboard following the drill: the next key after every keystroke, the
// hesitation timer, the picture handed to the window, and the hint mark on keystrokes made
// while the guide showed the key because of a hesitation or a mistyping.
#include <cstdint>
#include <optional>

#include "guide/keyboard_guide.h"

namespace dactyla {

// What the follower needs of the program.
class GuideShell {
public:
    virtual ~GuideShell() = default;
    // The keyboard's window draws this.
    virtual void showPicture(bool russian, const KeyboardPicture& picture) = 0;
    // Calls GuideFollower::hintDue after `ms`; none stops the timer.
    virtual void armHintTimer(std::optional<std::uint32_t> ms) = 0;
    // The keystrokes until the due key is typed right are hinted (Drill::markHinted).
    virtual void markHinted() = 0;
};

class GuideFollower {
public:
    // `knowledge` and `shell` must outlive the follower.
    GuideFollower(const KeyKnowledgeSource& knowledge, GuideShell& shell);

    void setMode(KeyboardMode mode);
    // After every keystroke, command and focus change: what the drill shows now, the live
    // language and the time in ms.
    void follow(const TypingMoment& moment, bool russian, std::uint32_t now);
    // The hint timer fired.
    void hintDue(std::uint32_t now);
    // The picture again, for a window made anew or new finger names.
    void redraw();

    const KeyboardGuide& guide() const { return guide_; }

private:
    void afterChange(bool changed, std::uint32_t now);

    KeyboardGuide guide_;
    GuideShell& shell_;
};

}  // namespace dactyla
