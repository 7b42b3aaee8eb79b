#pragma once
// The course's own records, per user and language beside the statistics:
//
// "Course - Rus.dat" / "Course - Eng.dat", the state (little-endian):
//   0   8 bytes  magic "DactCors"
//   8   u32      version, 1
//   12  u16      target speed, characters per minute
//   14  u16      error limit, tenths of a percent
//   16  u8       focus character, 0 for none
//   17  u8       n, the number of unlocked characters
//   18  n bytes  the unlocked characters, CP1251, in the order they were unlocked
//   18+n u32     CRC-32 (IEEE) of the bytes before it
// A file of another size, magic, version or checksum, with targets out of range, a character
// twice or a focus that is not unlocked is damaged.
//
// "Course log - Rus.txt" / "Course log - Eng.txt", CP1251 text with CR LF, oldest first: the
// line "Dactyla course log 1", then one line per finished session, fields separated by a tab:
//   date (YYYY-MM-DD, UTC)  speed (characters per minute)  errors (percent, one decimal)
//   typing time (m:ss)  keys unlocked  focus character ("-" for none)
// A log with another first line or a line of another shape is damaged.
//
// Both are written whole into a temporary file that then replaces them. A missing state is a
// fresh course; a damaged file is moved aside as "<name>.damaged" and begun again.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/stored_file.h"
#include "course/course_rules.h"
#include "course/key_order.h"
#include "platform/system.h"

namespace dactyla {

struct CourseState {
    CourseProgress progress;
    CourseTargets targets;
    bool operator==(const CourseState&) const = default;
};

std::string courseStatePath(const std::string& userDirectory, bool russian);
std::string courseLogPath(const std::string& userDirectory, bool russian);

std::string encodeCourseState(const CourseState& state);
// Empty unless `bytes` is a whole, sound state file.
std::optional<CourseState> decodeCourseState(std::string_view bytes);

struct CourseLogEntry {
    platform::Date date;
    std::uint32_t speed = 0;
    float errorPercent = 0;
    std::uint32_t minutes = 0;
    std::uint32_t seconds = 0;
    std::uint32_t unlockedKeys = 0;
    unsigned char focus = 0;
    bool operator==(const CourseLogEntry& o) const;
};

std::string formatCourseLogLine(const CourseLogEntry& entry);
// Empty unless `bytes` is a whole, sound log.
std::optional<std::vector<CourseLogEntry>> parseCourseLog(std::string_view bytes);
std::string encodeCourseLog(const std::vector<CourseLogEntry>& entries);

struct LoadedCourseState {
    StoredFileState state = StoredFileState::missing;
    CourseState course;  // meaningful when valid
};
LoadedCourseState loadCourseState(const std::string& path);

// Through a temporary file and a replace.
bool saveCourseState(const std::string& path, const CourseState& state);

enum class LogAppend { appended, begunAgain, failed };
// Appends `entry`; a damaged log is set aside first and a new one begun with it.
LogAppend appendCourseLog(const std::string& path, const CourseLogEntry& entry);

}  // namespace dactyla
