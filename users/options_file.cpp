#include "users/options_file.h"

#include <array>

#include "platform/directory.h"
#include "platform/little_endian.h"

namespace dactyla {
namespace {

constexpr std::uint64_t kTotalsOffset = 0;
constexpr std::uint64_t kSettingsOffset = 8;

constexpr platform::OpenOptions kExisting {.mode = platform::OpenMode::existing};
constexpr platform::OpenOptions kCreateIfMissing {.mode = platform::OpenMode::always};

// A field needs both of its bytes; a half-present one keeps the value it had.
void readU16Field(platform::File& file, std::uint16_t& field) {
    std::uint8_t bytes[2] = {};
    if (file.read(bytes, 2) == 2) field = static_cast<std::uint16_t>(readLe(bytes, 2));
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
    if (options.timerSeconds > kLongestTimer) options.timerSeconds = kDefaultTimer;
    unpackOptionFlags(flags, options);
}

}  // namespace

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
