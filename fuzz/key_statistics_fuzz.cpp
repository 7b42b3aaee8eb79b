// Any bytes as a key statistics file: reading never crashes and says valid or damaged. The input
// is read twice: as a whole file, and laid over the timing section of a real file whose
// checksum is then made right, so the records themselves are fuzzed rather than the checksum.
// What reads as valid writes back byte for byte, reads back the same, and takes a new session.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "progress/key_statistics.h"

namespace {

using namespace dactyla;
using fuzz::require;

constexpr std::size_t kTimingAt = kKeyStatisticsVersion1Size - 4;  // where the counts end

TimedKeystroke timed(unsigned char expected, unsigned char previous, std::uint32_t latencyMs) {
    return {.expected = expected, .previous = previous, .correct = true, .timed = true, .latencyMs = latencyMs,
            .reactionMs = latencyMs / 2};
}

// A file with a few keys timed and three pairs, written once.
const std::string& seedFile() {
    static const std::string file = [] {
        KeyStatistics statistics;
        std::vector<TimedKeystroke> session;
        for (std::uint32_t k = 0; k < 80; ++k) {
            session.push_back(timed('a', ' ', 150 + k));
            session.push_back(timed('b', 'a', 300 + 7 * k));
            session.push_back({.expected = 'c', .hinted = k % 2 == 0});
            session.push_back(timed('c', 'b', 2500));
        }
        statistics.counts.countCorrect('a');
        statistics.timing.addSession(session);
        return encodeKeyStatistics(statistics);
    }();
    return file;
}

std::string withChecksum(std::string body) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char byte : body) {
        c ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    c ^= 0xFFFFFFFFu;
    for (int k = 0; k < 4; ++k) body += static_cast<char>(c >> (8 * k));
    return body;
}

// The first two bytes place the rest anywhere in the timing section (or past its end, which
// lengthens the file).
std::string overlaid(std::string_view input) {
    std::string body = seedFile().substr(0, seedFile().size() - 4);
    if (input.size() < 2) return withChecksum(body);
    const std::size_t span = body.size() - kTimingAt + 64;
    const std::size_t at =
        kTimingAt + (static_cast<unsigned char>(input[0]) | static_cast<unsigned char>(input[1]) << 8) * span / 65536;
    const std::string_view patch = input.substr(2);
    if (body.size() < at + patch.size()) body.resize(at + patch.size(), '\0');
    std::copy(patch.begin(), patch.end(), body.begin() + static_cast<std::ptrdiff_t>(at));
    return withChecksum(body);
}

void check(std::string_view bytes) {
    const auto decoded = decodeKeyStatistics(bytes);
    if (!decoded) return;
    const std::string written = encodeKeyStatistics(*decoded);
    if (bytes.size() == kKeyStatisticsVersion1Size)
        require(written.size() == kKeyStatisticsSize && decoded->timing == TimingStatistics {}, "version 1 has no timing");
    else
        require(written == bytes, "a valid file writes back byte for byte");
    const auto again = decodeKeyStatistics(written);
    require(again.has_value() && *again == *decoded, "what is written reads back the same");

    KeyStatistics grown = *decoded;
    grown.counts.countCorrect('a');
    grown.timing.addSession(std::vector<TimedKeystroke> {timed('b', 'a', 180), {.expected = 'b'}, timed('z', 'b', 90)});
    const auto stored = decodeKeyStatistics(encodeKeyStatistics(grown));
    require(stored.has_value() && *stored == grown, "a session added to it is stored whole");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    check(input);
    check(overlaid(input));
    return 0;
}
