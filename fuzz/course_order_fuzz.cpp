// Any bytes as Course.txt: reading never crashes; a refused file names a line and leaves the
// built-in course, an accepted one holds every course character of each language exactly once.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "course/key_order.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dactyla;
    const CourseReading reading = parseCourseOrder(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!reading.problem.empty()) {
        fuzz::require(reading.settings == builtInCourse(), "a refused file leaves the built-in course");
        return 0;
    }
    for (bool russian : {true, false}) {
        std::string all = reading.settings.order(russian).characters();
        std::sort(all.begin(), all.end(),
                  [](char a, char b) { return static_cast<unsigned char>(a) < static_cast<unsigned char>(b); });
        fuzz::require(all == courseCharacters(russian), "every course character exactly once");
    }
    const CourseTargets& t = reading.settings.targets;
    fuzz::require(t.targetSpeed >= kMinTargetSpeed && t.targetSpeed <= kMaxTargetSpeed, "speed in range");
    fuzz::require(t.errorLimitTenths >= kMinErrorLimitTenths && t.errorLimitTenths <= kMaxErrorLimitTenths,
                  "error limit in range");
    fuzz::require(t.minSamples >= kMinSamples && t.minSamples <= kMaxSamples, "samples in range");
    return 0;
}
