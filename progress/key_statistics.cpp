#include "progress/key_statistics.h"

#include <cstdint>
#include <cstring>
#include <utility>

#include "base/crc32.h"
#include "base/whole_file.h"
#include "platform/directory.h"
#include "platform/file.h"
#include "platform/little_endian.h"

namespace dactyla {
namespace {

constexpr char kMagic[8] = {'D', 'a', 'c', 't', 'K', 'e', 'y', 's'};
constexpr std::uint32_t kVersion1 = 1;
constexpr std::uint32_t kVersion = 2;
constexpr std::size_t kVersionOffset = sizeof kMagic;
constexpr std::size_t kCorrectOffset = kVersionOffset + 4;
constexpr std::size_t kWrongOffset = kCorrectOffset + kByteValues * 4;
constexpr std::size_t kConfusionOffset = kWrongOffset + kByteValues * 4;
constexpr std::size_t kCountsEnd = kConfusionOffset + kByteValues * kByteValues * 4;
constexpr std::size_t kChecksumSize = 4;
static_assert(kCountsEnd + kChecksumSize == kKeyStatisticsVersion1Size);
static_assert(kCountsEnd + kByteValues * kKeyTimingRecordSize + 4 + kChecksumSize == kKeyStatisticsSize);

template <typename Table>
void putTable(std::uint8_t* at, const Table& table) {
    for (std::size_t k = 0; k < table.size(); ++k) putLe(at + 4 * k, table[k], 4);
}

template <typename Table>
void readTable(const std::uint8_t* at, Table& table) {
    for (std::size_t k = 0; k < table.size(); ++k) table[k] = readLe(at + 4 * k, 4);
}

}  // namespace

std::string keyStatisticsPath(const std::string& userDirectory, bool russian) {
    return platform::joinPath(userDirectory, russian ? "Keys - Rus.dat" : "Keys - Eng.dat");
}

std::string encodeKeyStatistics(const KeyStatistics& statistics) {
    std::string bytes(kCountsEnd, '\0');
    auto* at = reinterpret_cast<std::uint8_t*>(bytes.data());
    std::memcpy(at, kMagic, sizeof kMagic);
    putLe(at + kVersionOffset, kVersion, 4);
    putTable(at + kCorrectOffset, statistics.counts.correctTable());
    putTable(at + kWrongOffset, statistics.counts.wrongTable());
    putTable(at + kConfusionOffset, statistics.counts.confusionTable());
    bytes += encodeTiming(statistics.timing);
    std::uint8_t checksum[kChecksumSize];
    putLe(checksum, crc32(bytes), 4);
    bytes.append(reinterpret_cast<const char*>(checksum), kChecksumSize);
    return bytes;
}

std::optional<KeyStatistics> decodeKeyStatistics(std::string_view bytes) {
    if (bytes.size() < kKeyStatisticsVersion1Size) return std::nullopt;
    const auto* at = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::size_t checked = bytes.size() - kChecksumSize;
    const std::uint32_t version = readLe(at + kVersionOffset, 4);
    if (std::memcmp(at, kMagic, sizeof kMagic) != 0 || readLe(at + checked, 4) != crc32(bytes.substr(0, checked)))
        return std::nullopt;
    if (version == kVersion1 ? bytes.size() != kKeyStatisticsVersion1Size : version != kVersion)
        return std::nullopt;
    KeyStatistics statistics;
    if (version == kVersion) {
        auto timing = decodeTiming(bytes.substr(kCountsEnd, checked - kCountsEnd));
        if (!timing) return std::nullopt;
        statistics.timing = std::move(*timing);
    }
    readTable(at + kCorrectOffset, statistics.counts.correctTable());
    readTable(at + kWrongOffset, statistics.counts.wrongTable());
    readTable(at + kConfusionOffset, statistics.counts.confusionTable());
    return statistics;
}

LoadedKeyStatistics loadKeyStatistics(const std::string& path) {
    auto stored = readStoredFile(path, decodeKeyStatistics);
    return {stored.state, std::move(stored.value.counts), std::move(stored.value.timing)};
}

KeySaveResult addKeyStatistics(const std::string& userDirectory, bool russian, const KeyCounts& session,
                               std::span<const TimedKeystroke> keystrokes) {
    const std::string path = keyStatisticsPath(userDirectory, russian);
    LoadedKeyStatistics stored = loadKeyStatistics(path);
    if (stored.state == StoredFileState::unreadable) return KeySaveResult::unreadable;
    if (stored.state == StoredFileState::damaged) {
        if (!setFileAside(path)) return KeySaveResult::setAsideFailed;
    }
    KeyStatistics updated {std::move(stored.counts), std::move(stored.timing)};
    updated.counts.add(session);
    updated.timing.addSession(keystrokes);
    return writeWholeFileReplacing(path, encodeKeyStatistics(updated)) ? KeySaveResult::saved
                                                                        : KeySaveResult::writeFailed;
}

}  // namespace dactyla
