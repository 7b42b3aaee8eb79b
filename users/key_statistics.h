#pragma once
// Per-key statistics of a user and language: "Keys - Rus.dat" or "Keys - Eng.dat" beside the
// results logs. The layout (all numbers little-endian u32):
//   0       8 bytes  magic "DactKeys"
//   8       version, 1
//   12      256 counts of correct keystrokes, by expected CP1251 byte
//   1036    256 counts of wrong keystrokes, by expected byte
//   2060    65536 confusions: [expected * 256 + typed], how often `typed` came instead
//   264204  CRC-32 (IEEE) of the 264204 bytes before it
// 264208 bytes in all. A file of another size, magic, version or checksum is not ours or is
// damaged: it counts as no statistics and is moved aside before new counts are written.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "drill/key_counts.h"

namespace dactyla {

inline constexpr std::size_t kKeyStatisticsSize = 264208;

// "<userDirectory>\Keys - Rus.dat" or "... - Eng.dat".
std::string keyStatisticsPath(const std::string& userDirectory, bool russian);

std::string encodeKeyStatistics(const KeyCounts& counts);
// Empty unless `bytes` is exactly a file of the layout above.
std::optional<KeyCounts> decodeKeyStatistics(std::string_view bytes);

enum class KeyFileState {
    missing,     // no statistics yet
    valid,
    unreadable,  // there, but cannot be read (held by another program)
    damaged,     // short, foreign or corrupt
};

struct LoadedKeyStatistics {
    KeyFileState state = KeyFileState::missing;
    KeyCounts counts;  // all zero unless valid
};

LoadedKeyStatistics loadKeyStatistics(const std::string& path);

// Where a damaged file at `path` goes: "<path>.damaged", or "<path>.damaged2" and on when that
// is taken; empty when all of them are.
std::string setAsideName(const std::string& path);

enum class KeySaveResult { saved, unreadable, setAsideFailed, writeFailed };

// Adds `session` to the user's statistics of the language. The new file is written in full
// beside the old one and then replaces it, so a failure half-way leaves the old file as it was.
// A damaged file is moved aside first and counting starts afresh; one that cannot be read is
// left alone and nothing is written.
KeySaveResult addKeyStatistics(const std::string& userDirectory, bool russian, const KeyCounts& session);

}  // namespace dactyla
