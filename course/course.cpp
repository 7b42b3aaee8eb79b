#include "course/course.h"

#include <array>
#include <cstdio>

#include "base/whole_file.h"
#include "course/course_texts.h"
#include "platform/system.h"

namespace dactyla {
namespace {

using courseText::courseFormatted;
using courseText::courseString;
using courseText::keyName;

constexpr std::uint32_t kSeedStride = 7919;

std::string fileName(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

Course::Course(CourseHost& host, const CourseSettings& settings, std::string userDirectory, bool russian,
               const Options& options)
    : host_(host),
      order_(settings.order(russian)),
      userDirectory_(std::move(userDirectory)),
      russian_(russian),
      options_(options) {
    state_.targets = settings.targets;
}

void Course::load(Access access) {
    const std::string path = courseStatePath(userDirectory_, russian_);
    const LoadedCourseState loaded = loadCourseState(path);
    if (loaded.state == StoredFileState::valid) {
        // How many samples make a key known is the order file's, not the user's.
        const std::uint16_t minSamples = state_.targets.minSamples;
        state_ = loaded.course;
        state_.targets.minSamples = minSamples;
        return;
    }
    if (loaded.state == StoredFileState::damaged && access == Access::keep) {
        setFileAside(path);
        host_.tell(courseFormatted(courseText::kStateDamaged, fileName(path).c_str()));
    }
    // A fresh course is written at its first change.
    refreshText();
    const CharacterCounts none {};
    state_.progress = firstLesson(order_, host_.mastery(state_.targets), text_ ? text_->characterCounts() : none);
}

void Course::refreshText() {
    std::shared_ptr<const CourseText> text = host_.text();
    if (text != text_) {
        text_ = std::move(text);
        maker_ = text_ ? std::make_unique<LessonMaker>(*text_) : nullptr;
    }
}

bool Course::hasLines() {
    refreshText();
    return maker_ != nullptr && !state_.progress.unlocked.empty();
}

std::uint16_t Course::nextLine(char* destination) {
    if (maker_ == nullptr) refreshText();
    if (maker_ == nullptr) {
        destination[0] = '\0';
        return 0;
    }
    maker_->prepare(state_.progress);
    // Lines asked for within one millisecond (a session's start) must differ all the same.
    const std::uint32_t seed = host_.tickCount() + kSeedStride * ++linesFed_;
    return maker_->makeLineAt(seed, destination, options_.maxLength);
}

bool Course::lineTyped() {
    const CourseProgress before = state_.progress;
    const CharacterCounts none {};
    const bool unlocked = checkProgress(state_.progress, order_, host_.mastery(state_.targets),
                                        text_ ? text_->characterCounts() : none);
    justUnlocked_.reset();
    if (unlocked) justUnlocked_ = state_.progress.focus;
    if (state_.progress != before) save();
    host_.changed();
    return unlocked;
}

void Course::sessionFinished(const SessionSummary& summary) {
    CourseLogEntry entry;
    entry.date = platform::utcDate();
    entry.speed = summary.speed;
    entry.errorPercent = summary.errorPercent;
    entry.minutes = summary.minutes;
    entry.seconds = summary.seconds;
    entry.unlockedKeys = static_cast<std::uint32_t>(state_.progress.unlocked.size());
    entry.focus = state_.progress.focus.value_or(0);
    const std::string path = courseLogPath(userDirectory_, russian_);
    if (appendCourseLog(path, entry) == LogAppend::begunAgain)
        host_.tell(courseFormatted(courseText::kLogDamaged, fileName(path).c_str()));
    save();
}

bool Course::skipTo(unsigned char key) {
    if (!dactyla::skipTo(state_.progress, order_, key)) return false;
    justUnlocked_.reset();
    save();
    host_.changed();
    return true;
}

void Course::startAgain() {
    refreshText();
    const CharacterCounts none {};
    state_.progress = firstLesson(order_, host_.mastery(state_.targets), text_ ? text_->characterCounts() : none);
    justUnlocked_.reset();
    save();
    host_.changed();
}

void Course::setTargets(const CourseTargets& targets) {
    state_.targets = targets;
    save();
    host_.changed();
}

void Course::save() { saveCourseState(courseStatePath(userDirectory_, russian_), state_); }

std::string Course::statusLine() {
    FocusFigures focus;
    if (state_.progress.focus) focus = host_.figures(*state_.progress.focus, state_.targets);
    return courseStatusLine(state_, order_, focus, justUnlocked_);
}

std::string courseStatusLine(const CourseState& state, const KeyOrder& order, const FocusFigures& focus,
                             std::optional<unsigned char> justUnlocked) {
    const auto all = static_cast<unsigned>(order.characters().size());
    std::string line = courseFormatted(courseText::kStatusLearned, static_cast<unsigned>(state.progress.unlocked.size()), all);
    if (justUnlocked) return line + courseFormatted(courseText::kStatusUnlocked, keyName(*justUnlocked).c_str());
    if (!state.progress.focus) return line + (lockedKeys(state.progress, order).empty() ? courseString(courseText::kStatusDone) : "");
    line += courseFormatted(courseText::kStatusFocus, keyName(*state.progress.focus).c_str());
    if (!focus.speed || !focus.errorRate) return line + courseString(courseText::kStatusUnknown);
    return line + courseFormatted(courseText::kStatusFigures, static_cast<unsigned>(*focus.speed + 0.5),
                                  *focus.errorRate * 100.0);
}

}  // namespace dactyla
