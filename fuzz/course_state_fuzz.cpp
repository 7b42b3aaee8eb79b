// Any bytes as a course state: decoding never crashes, and what it accepts is sound and encodes
// back to the very same bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "course/course_files.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dactyla;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto state = decodeCourseState(bytes);
    if (state) {
        std::array<bool, 256> seen {};
        for (char c : state->progress.unlocked) {
            fuzz::require(!seen[static_cast<unsigned char>(c)], "no key unlocked twice");
            seen[static_cast<unsigned char>(c)] = true;
        }
        fuzz::require(!state->progress.focus || seen[*state->progress.focus], "the focus is unlocked");
        fuzz::require(encodeCourseState(*state) == bytes, "accepted bytes encode back the same");
    }
    const auto log = parseCourseLog(bytes);
    if (log) fuzz::require(parseCourseLog(encodeCourseLog(*log)).has_value(), "a read log writes back readable");
    return 0;
}
