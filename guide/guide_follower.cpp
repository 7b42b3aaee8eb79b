#include "guide/guide_follower.h"

namespace dactyla {

GuideFollower::GuideFollower(const KeyKnowledgeSource& knowledge, GuideShell& shell)
    : guide_(knowledge), shell_(shell) {}

void GuideFollower::setMode(KeyboardMode mode) {
    guide_.setMode(mode);
    redraw();
}

void GuideFollower::follow(const TypingMoment& moment, bool russian, std::uint32_t now) {
    bool changed = false;
    if (guide_.russian() != russian) {
        guide_.setLayout(russian);
        changed = true;
    }
    changed = guide_.follow(moment, now) || changed;
    afterChange(changed, now);
}

void GuideFollower::hintDue(std::uint32_t now) { afterChange(guide_.tick(now), now); }

void GuideFollower::redraw() { shell_.showPicture(guide_.russian(), guide_.picture()); }

// The mark is set again on every keystroke while the hint shows; the drill keeps it until the
// key is typed right.
void GuideFollower::afterChange(bool changed, std::uint32_t now) {
    if (changed) redraw();
    if (guide_.dueKeyHinted()) shell_.markHinted();
    shell_.armHintTimer(guide_.mode() == KeyboardMode::off ? std::nullopt : guide_.msUntilHint(now));
}

}  // namespace dactyla
