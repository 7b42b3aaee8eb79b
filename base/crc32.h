#pragma once
// CRC-32 (IEEE 802.3), the checksum that ends the program's binary files.
#include <cstdint>
#include <string_view>

namespace dactyla {

inline constexpr std::uint32_t kCrc32Start = 0xFFFFFFFFu;

// Carries a running checksum over `bytes`; the checksum is the running value ^ kCrc32Start.
std::uint32_t crc32Continue(std::uint32_t running, std::string_view bytes);

inline std::uint32_t crc32(std::string_view bytes) { return crc32Continue(kCrc32Start, bytes) ^ kCrc32Start; }

}  // namespace dactyla
