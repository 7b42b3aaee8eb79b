#include "drill/drill_source.h"

#include "base/whole_file.h"
#include "platform/directory.h"
#include "platform/file.h"

namespace dactyla {
namespace {

constexpr std::string_view kCourseWord = "course";
constexpr std::string_view kWeakKeysWord = "weak keys";

bool isAdded(DrillSource source) { return source == DrillSource::course || source == DrillSource::weakKeys; }

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

}  // namespace

DrillSource activeSource(const Options& options, DrillSource added) {
    if (options.alphabetMode) return DrillSource::alphabet;
    return isAdded(added) ? added : DrillSource::sentences;
}

bool toggleSource(Options& options, DrillSource& added, DrillSource clicked) {
    const bool wasOn = activeSource(options, added) == clicked;
    const std::uint8_t alphabetBefore = options.alphabetMode;
    if (clicked == DrillSource::alphabet) {
        options.alphabetMode = wasOn ? 0 : 1;
        if (!wasOn) added = DrillSource::sentences;
    } else if (isAdded(clicked)) {
        added = wasOn ? DrillSource::sentences : clicked;
        if (!wasOn) options.alphabetMode = 0;
    }
    return options.alphabetMode != alphabetBefore;
}

bool yieldToAlphabet(const Options& options, DrillSource& added) {
    if (!options.alphabetMode || !isAdded(added)) return false;
    added = DrillSource::sentences;
    return true;
}

std::string drillSourcePath(const std::string& userDirectory) {
    return platform::joinPath(userDirectory, "Drill source.txt");
}

DrillSource parseDrillSource(std::string_view text) {
    const std::string_view word = trimmed(text);
    if (word == kCourseWord) return DrillSource::course;
    if (word == kWeakKeysWord) return DrillSource::weakKeys;
    return DrillSource::sentences;
}

std::string formatDrillSource(DrillSource added) {
    if (added == DrillSource::course) return std::string(kCourseWord) + "\r\n";
    if (added == DrillSource::weakKeys) return std::string(kWeakKeysWord) + "\r\n";
    return "sentences\r\n";
}

DrillSource readDrillSource(const std::string& userDirectory) {
    const auto text = platform::readWholeFile(drillSourcePath(userDirectory));
    return text ? parseDrillSource(*text) : DrillSource::sentences;
}

bool writeDrillSource(const std::string& userDirectory, DrillSource added) {
    return writeWholeFileReplacing(drillSourcePath(userDirectory), formatDrillSource(added));
}

}  // namespace dactyla
