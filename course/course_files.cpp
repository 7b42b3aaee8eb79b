#include "course/course_files.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "base/crc32.h"
#include "base/decimal.h"
#include "base/whole_file.h"
#include "platform/directory.h"
#include "platform/file.h"
#include "platform/little_endian.h"

namespace dactyla {
namespace {

constexpr char kMagic[8] = {'D', 'a', 'c', 't', 'C', 'o', 'r', 's'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeaderSize = 18;
constexpr std::string_view kLogHeader = "Dactyla course log 1";

bool targetsInRange(const CourseTargets& t) {
    return t.targetSpeed >= kMinTargetSpeed && t.targetSpeed <= kMaxTargetSpeed &&
           t.errorLimitTenths >= kMinErrorLimitTenths && t.errorLimitTenths <= kMaxErrorLimitTenths;
}

std::string_view field(std::string_view& line) {
    const auto tab = line.find('\t');
    const std::string_view f = line.substr(0, tab);
    line = tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
    return f;
}

std::optional<std::uint32_t> number(std::string_view s, std::size_t minDigits = 1) {
    if (s.size() < minDigits || s.size() > 9) return std::nullopt;
    return parseDecimal(s);
}

std::optional<CourseLogEntry> parseLogLine(std::string_view line) {
    CourseLogEntry e;
    const std::string_view date = field(line), speed = field(line), errors = field(line), time = field(line),
                           keys = field(line), focus = field(line);
    if (!line.empty() || date.size() != 10 || date[4] != '-' || date[7] != '-') return std::nullopt;
    const auto year = number(date.substr(0, 4)), month = number(date.substr(5, 2)), day = number(date.substr(8, 2));
    const auto point = errors.find('.');
    if (point == std::string_view::npos || errors.size() != point + 2) return std::nullopt;
    const auto whole = number(errors.substr(0, point)), tenth = number(errors.substr(point + 1));
    const auto colon = time.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const auto minutes = number(time.substr(0, colon)), seconds = number(time.substr(colon + 1), 2);
    const auto speedValue = number(speed), keysValue = number(keys);
    if (!year || !month || !day || !whole || !tenth || !minutes || !seconds || !speedValue || !keysValue ||
        *month < 1 || *month > 12 || *day < 1 || *day > 31 || *seconds > 59 || focus.size() != 1)
        return std::nullopt;
    e.date = {static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day)};
    e.speed = *speedValue;
    e.errorPercent = static_cast<float>(*whole) + static_cast<float>(*tenth) / 10.0f;
    e.minutes = *minutes;
    e.seconds = *seconds;
    e.unlockedKeys = *keysValue;
    e.focus = focus[0] == '-' ? 0 : static_cast<unsigned char>(focus[0]);
    return e;
}

}  // namespace

bool CourseLogEntry::operator==(const CourseLogEntry& o) const {
    return date.year == o.date.year && date.month == o.date.month && date.day == o.date.day && speed == o.speed &&
           static_cast<int>(errorPercent * 10 + 0.5f) == static_cast<int>(o.errorPercent * 10 + 0.5f) &&
           minutes == o.minutes && seconds == o.seconds && unlockedKeys == o.unlockedKeys && focus == o.focus;
}

std::string courseStatePath(const std::string& userDirectory, bool russian) {
    return platform::joinPath(userDirectory, russian ? "Course - Rus.dat" : "Course - Eng.dat");
}

std::string courseLogPath(const std::string& userDirectory, bool russian) {
    return platform::joinPath(userDirectory, russian ? "Course log - Rus.txt" : "Course log - Eng.txt");
}

std::string encodeCourseState(const CourseState& state) {
    const std::string& unlocked = state.progress.unlocked;
    std::string bytes(kHeaderSize + unlocked.size() + 4, '\0');
    auto* at = reinterpret_cast<std::uint8_t*>(bytes.data());
    std::memcpy(at, kMagic, sizeof kMagic);
    putLe(at + 8, kVersion, 4);
    putLe(at + 12, state.targets.targetSpeed, 2);
    putLe(at + 14, state.targets.errorLimitTenths, 2);
    at[16] = state.progress.focus.value_or(0);
    at[17] = static_cast<std::uint8_t>(unlocked.size());
    std::memcpy(at + kHeaderSize, unlocked.data(), unlocked.size());
    putLe(at + kHeaderSize + unlocked.size(), crc32(std::string_view(bytes).substr(0, kHeaderSize + unlocked.size())), 4);
    return bytes;
}

std::optional<CourseState> decodeCourseState(std::string_view bytes) {
    if (bytes.size() < kHeaderSize + 4) return std::nullopt;
    const auto* at = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::size_t count = at[17];
    if (bytes.size() != kHeaderSize + count + 4 || std::memcmp(at, kMagic, sizeof kMagic) != 0 ||
        readLe(at + 8, 4) != kVersion || readLe(at + kHeaderSize + count, 4) != crc32(bytes.substr(0, kHeaderSize + count)))
        return std::nullopt;
    CourseState state;
    state.targets.targetSpeed = static_cast<std::uint16_t>(readLe(at + 12, 2));
    state.targets.errorLimitTenths = static_cast<std::uint16_t>(readLe(at + 14, 2));
    if (!targetsInRange(state.targets)) return std::nullopt;
    std::array<bool, 256> seen {};
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint8_t c = at[kHeaderSize + k];
        if (c == 0 || seen[c]) return std::nullopt;
        seen[c] = true;
        state.progress.unlocked += static_cast<char>(c);
    }
    if (at[16] != 0) {
        if (!seen[at[16]]) return std::nullopt;
        state.progress.focus = at[16];
    }
    return state;
}

std::string formatCourseLogLine(const CourseLogEntry& e) {
    std::array<char, 96> buffer {};
    const int tenths = static_cast<int>(e.errorPercent * 10.0f + 0.5f);
    std::snprintf(buffer.data(), buffer.size(), "%04d-%02d-%02d\t%u\t%d.%d\t%u:%02u\t%u\t", e.date.year, e.date.month,
                  e.date.day, e.speed, tenths / 10, tenths % 10, e.minutes, e.seconds, e.unlockedKeys);
    std::string line = buffer.data();
    line += e.focus == 0 ? '-' : static_cast<char>(e.focus);
    return line + "\r\n";
}

std::optional<std::vector<CourseLogEntry>> parseCourseLog(std::string_view bytes) {
    std::vector<CourseLogEntry> entries;
    bool header = true;
    while (!bytes.empty()) {
        const auto end = bytes.find("\r\n");
        if (end == std::string_view::npos) return std::nullopt;
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end + 2);
        if (header) {
            if (line != kLogHeader) return std::nullopt;
            header = false;
            continue;
        }
        auto entry = parseLogLine(line);
        if (!entry) return std::nullopt;
        entries.push_back(*entry);
    }
    if (header) return std::nullopt;
    return entries;
}

std::string encodeCourseLog(const std::vector<CourseLogEntry>& entries) {
    std::string bytes = std::string(kLogHeader) + "\r\n";
    for (const CourseLogEntry& e : entries) bytes += formatCourseLogLine(e);
    return bytes;
}

LoadedCourseState loadCourseState(const std::string& path) {
    const auto stored = readStoredFile(path, decodeCourseState);
    return {stored.state, stored.value};
}

bool saveCourseState(const std::string& path, const CourseState& state) {
    return writeWholeFileReplacing(path, encodeCourseState(state));
}

LogAppend appendCourseLog(const std::string& path, const CourseLogEntry& entry) {
    auto stored = readStoredFile(path, parseCourseLog);
    if (stored.state == StoredFileState::unreadable) return LogAppend::failed;
    const bool begunAgain = stored.state == StoredFileState::damaged;
    if (begunAgain && !setFileAside(path)) return LogAppend::failed;
    std::vector<CourseLogEntry>& entries = stored.value;
    entries.push_back(entry);
    if (!writeWholeFileReplacing(path, encodeCourseLog(entries))) return LogAppend::failed;
    return begunAgain ? LogAppend::begunAgain : LogAppend::appended;
}

}  // namespace dactyla
