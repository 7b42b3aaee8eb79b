#include "users/key_statistics.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/directory.h"
#include "platform/file.h"
#include "platform/little_endian.h"

namespace dactyla {
namespace {

constexpr char kMagic[8] = {'D', 'a', 'c', 't', 'K', 'e', 'y', 's'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kVersionOffset = sizeof kMagic;
constexpr std::size_t kCorrectOffset = kVersionOffset + 4;
constexpr std::size_t kWrongOffset = kCorrectOffset + kByteValues * 4;
constexpr std::size_t kConfusionOffset = kWrongOffset + kByteValues * 4;
constexpr std::size_t kChecksumOffset = kConfusionOffset + kByteValues * kByteValues * 4;
static_assert(kChecksumOffset + 4 == kKeyStatisticsSize);
constexpr int kMaxSetAsideNames = 99;

constexpr std::array<std::uint32_t, 256> makeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

std::uint32_t crc32(const std::uint8_t* bytes, std::size_t size) {
    static constexpr auto kTable = makeCrcTable();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t k = 0; k < size; ++k) c = kTable[(c ^ bytes[k]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

template <typename Table>
void putTable(std::uint8_t* at, const Table& table) {
    for (std::size_t k = 0; k < table.size(); ++k) putLe(at + 4 * k, table[k], 4);
}

template <typename Table>
void readTable(const std::uint8_t* at, Table& table) {
    for (std::size_t k = 0; k < table.size(); ++k) table[k] = readLe(at + 4 * k, 4);
}

bool writeWhole(const std::string& path, const std::string& bytes) {
    platform::File file = platform::File::open(path, {.mode = platform::OpenMode::createAlways});
    return file.isOpen() && file.write(bytes.data(), bytes.size()) == bytes.size() && file.flush();
}

}  // namespace

std::string keyStatisticsPath(const std::string& userDirectory, bool russian) {
    return platform::joinPath(userDirectory, russian ? "Keys - Rus.dat" : "Keys - Eng.dat");
}

std::string encodeKeyStatistics(const KeyCounts& counts) {
    std::string bytes(kKeyStatisticsSize, '\0');
    auto* at = reinterpret_cast<std::uint8_t*>(bytes.data());
    std::memcpy(at, kMagic, sizeof kMagic);
    putLe(at + kVersionOffset, kVersion, 4);
    putTable(at + kCorrectOffset, counts.correctTable());
    putTable(at + kWrongOffset, counts.wrongTable());
    putTable(at + kConfusionOffset, counts.confusionTable());
    putLe(at + kChecksumOffset, crc32(at, kChecksumOffset), 4);
    return bytes;
}

std::optional<KeyCounts> decodeKeyStatistics(std::string_view bytes) {
    if (bytes.size() != kKeyStatisticsSize) return std::nullopt;
    const auto* at = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (std::memcmp(at, kMagic, sizeof kMagic) != 0 || readLe(at + kVersionOffset, 4) != kVersion ||
        readLe(at + kChecksumOffset, 4) != crc32(at, kChecksumOffset))
        return std::nullopt;
    KeyCounts counts;
    readTable(at + kCorrectOffset, counts.correctTable());
    readTable(at + kWrongOffset, counts.wrongTable());
    readTable(at + kConfusionOffset, counts.confusionTable());
    return counts;
}

LoadedKeyStatistics loadKeyStatistics(const std::string& path) {
    LoadedKeyStatistics loaded;
    if (!platform::fileExists(path)) return loaded;
    const auto bytes = platform::readWholeFile(path);
    if (!bytes) {
        loaded.state = KeyFileState::unreadable;
        return loaded;
    }
    auto counts = decodeKeyStatistics(*bytes);
    if (!counts) {
        loaded.state = KeyFileState::damaged;
        return loaded;
    }
    loaded.state = KeyFileState::valid;
    loaded.counts = std::move(*counts);
    return loaded;
}

std::string setAsideName(const std::string& path) {
    for (int k = 1; k <= kMaxSetAsideNames; ++k) {
        std::string name = path + ".damaged";
        if (k > 1) name += std::to_string(k);
        if (!platform::fileExists(name)) return name;
    }
    return {};
}

KeySaveResult addKeyStatistics(const std::string& userDirectory, bool russian, const KeyCounts& session) {
    const std::string path = keyStatisticsPath(userDirectory, russian);
    LoadedKeyStatistics stored = loadKeyStatistics(path);
    if (stored.state == KeyFileState::unreadable) return KeySaveResult::unreadable;
    if (stored.state == KeyFileState::damaged) {
        const std::string aside = setAsideName(path);
        if (aside.empty() || !platform::replaceFile(path, aside)) return KeySaveResult::setAsideFailed;
    }
    stored.counts.add(session);
    const std::string temporary = path + ".new";
    if (writeWhole(temporary, encodeKeyStatistics(stored.counts)) && platform::replaceFile(temporary, path))
        return KeySaveResult::saved;
    platform::deleteFile(temporary);
    return KeySaveResult::writeFailed;
}

}  // namespace dactyla
