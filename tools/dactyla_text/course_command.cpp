#include "tools/dactyla_text/course_command.h"

#include <array>
#include <cstdio>
#include <ostream>

#include "base/options.h"
#include "corpus/sentence_corpus.h"
#include "course/course.h"
#include "course/course_mastery.h"
#include "platform/directory.h"
#include "platform/file.h"
#include "platform/little_endian.h"
#include "platform/system.h"
#include "progress/user_timings.h"
#include "tools/dactyla_text/commands.h"

namespace dactyla::text_tool {
namespace {

// What the course asks of the program, answered from the user's files.
class ToolHost : public CourseHost {
public:
    ToolHost(std::string userDirectory, std::string textPath, bool russian, std::ostream& err)
        : textPath_(std::move(textPath)), russian_(russian), err_(err) {
        timings_.load(userDirectory, russian);
    }

    KeyMastery mastery(const CourseTargets& targets) override {
        return masteryOf([this](unsigned char c) -> const KeyTiming& { return timing(c); }, targets);
    }
    FocusFigures figures(unsigned char key, const CourseTargets& targets) override {
        return figuresOf(timing(key), targets);
    }
    std::shared_ptr<const CourseText> text() override { return cache_.get(textPath_, russian_); }
    void tell(const std::string& text) override { err_ << "dactyla-text: " << text << "\n"; }
    std::uint32_t tickCount() override { return platform::tickCount(); }
    void changed() override {}

private:
    // No session runs here: the stored timings alone.
    const KeyTiming& timing(unsigned char c) const { return timings_.key(c); }

    UserTimings timings_;
    std::string textPath_;
    bool russian_;
    std::ostream& err_;
    CourseTextCache cache_;
};

// The line length the program would use: the user's maxLength, read without opening the file
// for writing, since Dactyla may hold it.
Options userOptions(const std::string& userDirectory, bool russian) {
    Options options;
    options.russian = russian ? 1 : 0;
    const auto bytes = platform::readWholeFile(platform::joinPath(userDirectory, "Options.dat"));
    if (bytes && bytes->size() >= 16) {
        const auto* at = reinterpret_cast<const std::uint8_t*>(bytes->data());
        options.minLength = static_cast<std::uint16_t>(readLe(at + 8, 2));
        options.maxLength = static_cast<std::uint16_t>(readLe(at + 10, 2));
        clampLengths(options);
    }
    return options;
}

std::string label(unsigned char c) { return c == ' ' ? "space" : std::string(1, static_cast<char>(c)); }

std::string masteryText(const std::optional<double>& m) {
    if (!m) return "-";
    std::array<char, 32> text {};
    std::snprintf(text.data(), text.size(), "%.2f", *m);
    return text.data();
}

}  // namespace

int runCourse(const Arguments& arguments, const std::string& programFolder, std::ostream& out, std::ostream& err) {
    const std::optional<std::string> user = userDirectoryOf(arguments, err);
    if (!user) return kBadInput;
    const std::string& userDirectory = *user;
    const CourseReading order = readCourseOrder(programFolder);
    if (!order.problem.empty()) err << "dactyla-text: " << order.problem << "\n";
    const Options options = userOptions(userDirectory, arguments.russian);
    ToolHost host(userDirectory, platform::joinPath(arguments.programDirectory, textFileName(arguments.russian)),
                  arguments.russian, err);
    Course course(host, order.settings, userDirectory, arguments.russian, options);
    course.load(Course::Access::lookOnly);
    if (arguments.lines) {
        if (!course.hasLines()) {
            err << "dactyla-text: no text to make lines of\n";
            return kBadInput;
        }
        std::array<char, kLineSourceRoom> line {};
        for (std::uint32_t k = 0; k < *arguments.lines; ++k) out << std::string(line.data(), course.nextLine(line.data())) << "\n";
        return kSuccess;
    }
    const CourseState& state = course.state();
    out << "unlocked " << state.progress.unlocked << "\n"
        << "focus " << (state.progress.focus ? label(*state.progress.focus) : std::string("-")) << "\n";
    const KeyMastery mastery = host.mastery(state.targets);
    for (char c : state.progress.unlocked)
        out << label(static_cast<unsigned char>(c)) << " " << masteryText(mastery[static_cast<unsigned char>(c)]) << "\n";
    return kSuccess;
}

}  // namespace dactyla::text_tool
