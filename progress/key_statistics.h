#pragma once
// Per-key statistics of a user and language: "Keys - Rus.dat" or "Keys - Eng.dat" beside the
// results logs. Version 2, all numbers little-endian (u32 unless said):
//   0        8 bytes  magic "DactKeys"
//   8        version, 2
//   12       256 counts of correct keystrokes, by expected CP1251 byte
//   1036     256 counts of wrong keystrokes, by expected byte
//   2060     65536 confusions: [expected * 256 + typed], how often `typed` came instead
//   264204   256 timing records of 176 bytes, by expected byte (progress/timing_statistics.cpp):
//              +0 latencies kept n (0-64), +4 outcomes kept m (0-128),
//              +8 64 u16 clean latencies in ms, oldest first, zero from n on,
//              +136 16 bytes of outcomes, oldest first, bit k % 8 of byte k / 8, 1 = wrong,
//                   zero from m on,
//              +152 hesitations, +156 hinted presses, +160 smoothed latency in µs (0: none),
//              +164 reactions counted, +168 u64 their sum in ms
//   309260   P, the number of pairs (at most 65536)
//   309264   P pair records of 48 bytes, strictly ascending by (previous, character):
//              +0 previous byte, +1 character byte, +2 u16 latencies kept k (1-16, at most
//              the count), +4 count of clean latencies, +8 u64 their sum in ms,
//              +16 16 u16 latencies in ms, oldest first, zero from k on
//   309264 + 48 P  CRC-32 (IEEE) of every byte before it
// 309 268 + 48 P bytes in all. Version 1 (264 208 bytes: the counts, then the CRC at 264204) is
// read with empty timing and written as version 2 at the next store. A file of another size,
// magic, version or checksum, or with a malformed record, is not ours or is damaged: it counts
// as no statistics and is moved aside before new counts are written.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/stored_file.h"
#include "drill/key_counts.h"
#include "drill/keystroke_timing.h"
#include "progress/timing_statistics.h"

namespace dactyla {

inline constexpr std::size_t kKeyStatisticsVersion1Size = 264208;
// Version 2 without pairs; each pair adds kPairRecordSize.
inline constexpr std::size_t kKeyStatisticsSize = 309268;

// "<userDirectory>\Keys - Rus.dat" or "... - Eng.dat".
std::string keyStatisticsPath(const std::string& userDirectory, bool russian);

struct KeyStatistics {
    KeyCounts counts;
    TimingStatistics timing;
    bool operator==(const KeyStatistics&) const = default;
};

// Always version 2.
std::string encodeKeyStatistics(const KeyStatistics& statistics);
// Empty unless `bytes` is exactly a file of version 2 or 1 as above.
std::optional<KeyStatistics> decodeKeyStatistics(std::string_view bytes);

struct LoadedKeyStatistics {
    StoredFileState state = StoredFileState::missing;
    KeyCounts counts;  // all zero unless valid
    TimingStatistics timing;  // empty unless valid, and for version 1
};

LoadedKeyStatistics loadKeyStatistics(const std::string& path);

enum class KeySaveResult { saved, unreadable, setAsideFailed, writeFailed };

// Adds a session's counts and its timed keystrokes to the user's statistics of the language.
// The new file is written in full beside the old one and then replaces it, so a failure
// half-way leaves the old file as it was. A damaged file is moved aside first and counting
// starts afresh; one that cannot be read is left alone and nothing is written.
KeySaveResult addKeyStatistics(const std::string& userDirectory, bool russian, const KeyCounts& session,
                               std::span<const TimedKeystroke> keystrokes = {});

}  // namespace dactyla
