#pragma once
// Statistics files as older versions of the program wrote them, for the tests that read them.
#include <cstdint>
#include <string>

#include "progress/key_statistics.h"

namespace dactyla::testing {

// `bytes` followed by their CRC-32 (IEEE), little-endian: the checksum every version ends with.
inline std::string withChecksum(std::string bytes) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        c ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    c ^= 0xFFFFFFFFu;
    for (int k = 0; k < 4; ++k) bytes += static_cast<char>(c >> (8 * k));
    return bytes;
}

// The file as the first version wrote it: magic, version 1, the counts and the checksum.
inline std::string version1File(const KeyCounts& counts) {
    std::string bytes = encodeKeyStatistics({counts, {}}).substr(0, kKeyStatisticsVersion1Size - 4);
    bytes[8] = 1;
    return withChecksum(bytes);
}

}  // namespace dactyla::testing
