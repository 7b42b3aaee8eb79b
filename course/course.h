#pragma once
// The course of one user and language as the drill's line source: it feeds lesson lines, checks
// for an unlock at every line's end, keeps its state and log, and answers the course window.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "base/options.h"
#include "course/course_files.h"
#include "course/course_text.h"
#include "course/key_order.h"
#include "course/lesson.h"
#include "drill/line_source.h"

namespace dactyla {

// A key's figures against the targets, each empty while not yet known.
struct FocusFigures {
    std::optional<double> mastery;
    std::optional<double> speed;      // characters per minute
    std::optional<double> errorRate;  // 0..1
};

// What the course needs of the program around it.
class CourseHost {
public:
    virtual ~CourseHost() = default;
    // Every key's mastery now: the stored statistics and the running session's keystrokes.
    virtual KeyMastery mastery(const CourseTargets& targets) = 0;
    virtual FocusFigures figures(unsigned char key, const CourseTargets& targets) = 0;
    // The user's text of the language, built again when it changed; null when there is none.
    virtual std::shared_ptr<const CourseText> text() = 0;
    // Shows a CP1251 message.
    virtual void tell(const std::string& text) = 0;
    virtual std::uint32_t tickCount() = 0;
    // The state or the figures shown of it changed (a line's end, skip, start again, targets).
    virtual void changed() = 0;
};

class Course final : public LineSource {
public:
    // `options` is the live record (its maxLength sets the line length) and must outlive the course.
    Course(CourseHost& host, const CourseSettings& settings, std::string userDirectory, bool russian,
           const Options& options);

    // Reads the state: a missing one is a fresh course; a damaged one is set aside, said so, and
    // the course starts again. A look only (the tool) writes nothing and sets nothing aside.
    enum class Access { keep, lookOnly };
    void load(Access access = Access::keep);

    bool hasLines() override;
    std::uint16_t nextLine(char* destination) override;
    bool lineTyped() override;
    void sessionFinished(const SessionSummary& summary) override;

    // The course window.
    bool skipTo(unsigned char key);
    void startAgain();
    void setTargets(const CourseTargets& targets);

    const CourseState& state() const { return state_; }
    const KeyOrder& order() const { return order_; }
    bool russian() const { return russian_; }
    // The key the last line's end unlocked, until the next line's end.
    std::optional<unsigned char> justUnlocked() const { return justUnlocked_; }
    // One short CP1251 line: keys learned of all, the focus key with its speed and error rate.
    std::string statusLine();

private:
    void save();
    void refreshText();

    CourseHost& host_;
    KeyOrder order_;
    std::string userDirectory_;
    bool russian_;
    const Options& options_;
    CourseState state_;
    std::shared_ptr<const CourseText> text_;
    std::unique_ptr<LessonMaker> maker_;
    std::optional<unsigned char> justUnlocked_;
    std::uint32_t linesFed_ = 0;
};

// The status line of `state` (courseText::kStatus*), the figures those of its focus key.
std::string courseStatusLine(const CourseState& state, const KeyOrder& order, const FocusFigures& focus,
                             std::optional<unsigned char> justUnlocked);

}  // namespace dactyla
