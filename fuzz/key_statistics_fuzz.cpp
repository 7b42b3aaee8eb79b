// The real reader of the key statistics file. Any bytes as a whole file, and a patch laid over
// the header or the timing section of a real file (kept valid elsewhere), with its checksum made
// right unless the patch asks otherwise, so the records are fuzzed rather than the checksum:
// reading never crashes, and what reads as valid writes back byte for byte.
// The timing records alone are fuzzed much faster by key_timing_fuzz.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/crc32.h"
#include "fuzz_support.h"
#include "key_statistics_seed.h"

namespace {

using namespace dactyla;
using fuzz::require;

constexpr std::size_t kHeaderSize = 12;                                 // magic and version
constexpr std::size_t kTimingAt = kKeyStatisticsVersion1Size - 4;       // where the counts end
constexpr std::size_t kChecksumSize = 4;

const std::string& seedFile() {
    static const std::string file = encodeKeyStatistics(fuzz::seedStatistics());
    return file;
}

std::string_view seedBody() { return std::string_view(seedFile()).substr(0, seedFile().size() - kChecksumSize); }

// The running checksum after each byte of the seed's body, so that a patch costs only the bytes
// from where it starts.
const std::vector<std::uint32_t>& seedRegisters() {
    static const std::vector<std::uint32_t> registers = [] {
        std::vector<std::uint32_t> after(seedBody().size() + 1, kCrc32Start);
        for (std::size_t k = 0; k < seedBody().size(); ++k) after[k + 1] = crc32Continue(after[k], seedBody().substr(k, 1));
        return after;
    }();
    return registers;
}

// `body` is the seed's body up to `changedFrom`.
void appendChecksum(std::string& body, std::size_t changedFrom) {
    const std::size_t from = std::min({changedFrom, body.size(), seedBody().size()});
    const std::uint32_t crc = crc32Continue(seedRegisters()[from], std::string_view(body).substr(from)) ^ kCrc32Start;
    for (int k = 0; k < 4; ++k) body += static_cast<char>(crc >> (8 * k));
}

// One buffer for every input: a 309 KB allocation per run would cost more than the reading.
// Bit 1 of the flags byte keeps the checksum as the patch left it.
const std::string& fileFrom(std::string_view input) {
    static std::string file;
    const bool rawChecksum = input.size() >= 3 && (static_cast<unsigned char>(input[2]) & 2) != 0;
    if (rawChecksum) {
        file.assign(seedFile());
        fuzz::patch(file, input, {{0, kHeaderSize}, {kTimingAt, file.size() - kTimingAt + 64}});
        return file;
    }
    file.assign(seedBody());
    const std::size_t at = fuzz::patch(file, input, {{0, kHeaderSize}, {kTimingAt, file.size() - kTimingAt + 64}});
    appendChecksum(file, at);
    return file;
}

void check(std::string_view bytes) {
    const auto decoded = decodeKeyStatistics(bytes);
    if (!decoded) return;
    const std::string written = encodeKeyStatistics(*decoded);
    if (bytes.size() == kKeyStatisticsVersion1Size) {
        require(decoded->timing == TimingStatistics {}, "version 1 has no timing");
        const auto again = decodeKeyStatistics(written);
        require(again.has_value() && *again == *decoded, "version 1 is written as version 2 and reads back the same");
    } else {
        require(written == bytes, "a valid file writes back byte for byte");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    check(input);
    check(fileFrom(input));
    return 0;
}
