#include "base/crc32.h"

#include <array>

namespace dactyla {
namespace {

constexpr std::array<std::uint32_t, 256> makeCrcTable() {
    std::array<std::uint32_t, 256> table {};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

}  // namespace

std::uint32_t crc32Continue(std::uint32_t running, std::string_view bytes) {
    static constexpr auto kTable = makeCrcTable();
    for (const char byte : bytes) running = kTable[(running ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (running >> 8);
    return running;
}

}  // namespace dactyla
