#pragma once
// Shared by the key statistics targets: a stored statistics with keys timed and pairs, and the
// compact input form both use. A valid file is 309 KB or more, far too large to mutate whole, so
// an input is a patch: two bytes place it in the region a target fuzzes, a third says whether
// the file ends where the patch ends, and the rest is laid over the seed's bytes there.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "progress/key_statistics.h"

namespace dactyla::fuzz {

inline TimedKeystroke timed(unsigned char expected, unsigned char previous, std::uint32_t latencyMs) {
    return {.expected = expected, .previous = previous, .correct = true, .timed = true, .latencyMs = latencyMs,
            .reactionMs = latencyMs / 2};
}

// A few keys timed, one hinted, three pairs.
inline const KeyStatistics& seedStatistics() {
    static const KeyStatistics statistics = [] {
        KeyStatistics seed;
        std::vector<TimedKeystroke> session;
        for (std::uint32_t k = 0; k < 80; ++k) {
            session.push_back(timed('a', ' ', 150 + k));
            session.push_back(timed('b', 'a', 300 + 7 * k));
            session.push_back({.expected = 'c', .hinted = k % 2 == 0});
            session.push_back(timed('c', 'b', 2500));
        }
        seed.counts.countCorrect('a');
        seed.timing.addSession(session);
        return seed;
    }();
    return statistics;
}

// A session that adds a key and a pair the seed lacks.
inline std::vector<TimedKeystroke> laterSession() {
    return {timed('b', 'a', 180), {.expected = 'b'}, timed('z', 'b', 90)};
}

struct Region {
    std::size_t from;
    std::size_t size;  // may reach past the end of the seed, which lengthens it
};

// Lays the patch over `bytes` in place and returns where it starts; `regions` are visited in
// order as one span the two position bytes spread over.
inline std::size_t patch(std::string& bytes, std::string_view input, const std::vector<Region>& regions) {
    if (input.size() < 3) return bytes.size();
    std::size_t span = 0;
    for (const Region& region : regions) span += region.size;
    std::size_t offset =
        (static_cast<unsigned char>(input[0]) | static_cast<std::size_t>(static_cast<unsigned char>(input[1])) << 8) *
        span / 65536;
    std::size_t at = 0;
    for (const Region& region : regions) {
        if (offset < region.size) {
            at = region.from + offset;
            break;
        }
        offset -= region.size;
    }
    const bool endsWithPatch = (static_cast<unsigned char>(input[2]) & 1) != 0;
    const std::string_view bytesToLay = input.substr(3);
    if (bytes.size() < at + bytesToLay.size() || endsWithPatch) bytes.resize(at + bytesToLay.size(), '\0');
    std::copy(bytesToLay.begin(), bytesToLay.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    return at;
}

}  // namespace dactyla::fuzz
