#include "base/crc32.h"

#include <gtest/gtest.h>

#include <string>

namespace dactyla {
namespace {

// The published check values of CRC-32 (IEEE): files written by other tools agree with ours.
TEST(Crc32, GivesThePublishedValuesAndContinuesAcrossPieces) {
    const struct {
        std::string bytes;
        std::uint32_t crc;
    } cases[] = {
        {"", 0x00000000u},
        {"a", 0xE8B7BE43u},
        {"123456789", 0xCBF43926u},
        {"The quick brown fox jumps over the lazy dog", 0x414FA339u},
        {std::string(32, '\0'), 0x190A55ADu},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(crc32(c.bytes), c.crc) << c.bytes;
        for (std::size_t cut = 0; cut <= c.bytes.size(); ++cut) {
            const std::string_view whole(c.bytes);
            const std::uint32_t running = crc32Continue(kCrc32Start, whole.substr(0, cut));
            EXPECT_EQ(crc32Continue(running, whole.substr(cut)) ^ kCrc32Start, c.crc) << c.bytes << " cut at " << cut;
        }
    }
}

}  // namespace
}  // namespace dactyla
