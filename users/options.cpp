#include "users/options.h"

#include <array>

#include "platform/directory.h"
#include "platform/little_endian.h"

namespace dactyla {
namespace {

constexpr std::uint64_t kTotalsOffset = 0;
constexpr std::uint64_t kSettingsOffset = 8;
constexpr std::uint16_t kShortest = 10;
constexpr std::uint16_t kLongest = 120;
constexpr std::uint16_t kLongestTimer = 3600;
constexpr std::uint16_t kFallbackTimer = 300;

constexpr platform::OpenOptions kExisting {.mode = platform::OpenMode::existing};
constexpr platform::OpenOptions kCreateIfMissing {.mode = platform::OpenMode::always};

// A field needs both of its bytes; a half-present one keeps the value it had.
void readU16Field(platform::File& file, std::uint16_t& field) {
    std::uint8_t bytes[2] = {};
    if (file.read(bytes, 2) == 2) field = static_cast<std::uint16_t>(readLe(bytes, 2));
}

std::uint8_t bit(std::uint16_t flags, int position) {
    return static_cast<std::uint8_t>((flags >> position) & 1u);
}

void writeZeroTotals(platform::File& file) {
    const std::array<std::uint8_t, 8> zeros {};
    file.seek(kTotalsOffset);
    file.write(zeros.data(), zeros.size());
}

void loadSettings(LiveOptions& live) {
    Options& options = live.options;
    std::uint16_t flags = 0;
    live.optionsFile.seek(kSettingsOffset);
    readU16Field(live.optionsFile, options.minLength);
    readU16Field(live.optionsFile, options.maxLength);
    readU16Field(live.optionsFile, options.timerSeconds);
    readU16Field(live.optionsFile, flags);
    clampLengths(options);
    if (options.timerSeconds > kLongestTimer) options.timerSeconds = kFallbackTimer;
    unpackOptionFlags(flags, options);
}

}  // namespace

void clampLengths(Options& options) {
    if (options.maxLength > kLongest) options.maxLength = kLongest;
    if (options.maxLength < kShortest) options.maxLength = kShortest;
    if (options.minLength > kLongest) options.minLength = kLongest;
    if (options.minLength < kShortest) options.minLength = kShortest;
    if (options.maxLength < options.minLength) options.maxLength = options.minLength;
}

bool sameOptions(const Options& a, const Options& b) {
    return a.minLength == b.minLength && a.maxLength == b.maxLength && a.timerSeconds == b.timerSeconds &&
           a.russian == b.russian && a.alphabetMode == b.alphabetMode &&
           a.uniformLetters == b.uniformLetters && a.allowCapitals == b.allowCapitals &&
           a.timerEnabled == b.timerEnabled && a.backgroundSound == b.backgroundSound &&
           a.maxCapitalRun == b.maxCapitalRun && a.picture == b.picture;
}

std::uint16_t packOptionFlags(const Options& options) {
    const unsigned flags = options.russian | options.alphabetMode << 1 | options.uniformLetters << 2 |
                           options.allowCapitals << 3 | options.timerEnabled << 4 |
                           options.backgroundSound << 5 | (options.maxCapitalRun & 15u) << 8 |
                           unsigned {options.picture} << 12;
    return static_cast<std::uint16_t>(flags);
}

void unpackOptionFlags(std::uint16_t flags, Options& options) {
    options.russian = bit(flags, 0);
    options.alphabetMode = bit(flags, 1);
    options.uniformLetters = bit(flags, 2);
    options.allowCapitals = bit(flags, 3);
    options.timerEnabled = bit(flags, 4);
    options.backgroundSound = bit(flags, 5);
    options.maxCapitalRun = static_cast<std::uint8_t>((flags >> 8) & 15u);
    // Only the desktop (0) and the built-in picture (1) are ever shown; any other choice
    // falls back to the built-in one.
    const unsigned picture = (flags >> 12) & 3u;
    options.picture = picture == 0 ? 0 : 1;
}

void readOptions(LiveOptions& live, const std::string& userDirectory) {
    const std::string path = platform::joinPath(userDirectory, "Options.dat");
    live.optionsFile.close();
    live.optionsFile = platform::File::open(path, kExisting);
    if (live.optionsFile.isOpen()) {
        loadSettings(live);
        return;
    }
    live.optionsFile = platform::File::open(path, kCreateIfMissing);
    // The file may have appeared between the two opens (another copy of the program let it go):
    // a file with content is loaded, never overwritten with zero totals.
    if (live.optionsFile.size().value_or(0) > 0) {
        loadSettings(live);
        return;
    }
    live.optionsDirty = true;
    writeZeroTotals(live.optionsFile);
}

void writeOptions(LiveOptions& live) {
    const Options& options = live.options;
    std::array<std::uint8_t, 8> bytes {};
    putLe(&bytes[0], options.minLength, 2);
    putLe(&bytes[2], options.maxLength, 2);
    putLe(&bytes[4], options.timerSeconds, 2);
    putLe(&bytes[6], packOptionFlags(options), 2);
    if (live.optionsFile.seek(kSettingsOffset)) live.optionsFile.write(bytes.data(), bytes.size());
}

Totals readTotals(LiveOptions& live) {
    std::array<std::uint8_t, 8> bytes {};
    if (live.optionsFile.seek(kTotalsOffset)) live.optionsFile.read(bytes.data(), bytes.size());
    return Totals {.characters = readLe(&bytes[0], 4), .seconds = readLe(&bytes[4], 4)};
}

void addTotals(LiveOptions& live, std::uint32_t characters, std::uint32_t seconds) {
    const Totals old = readTotals(live);
    std::array<std::uint8_t, 8> bytes {};
    putLe(&bytes[0], old.characters + characters, 4);
    putLe(&bytes[4], old.seconds + seconds, 4);
    if (live.optionsFile.seek(kTotalsOffset)) live.optionsFile.write(bytes.data(), bytes.size());
}

}  // namespace dactyla
