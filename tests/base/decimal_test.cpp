#include "base/decimal.h"

#include <gtest/gtest.h>

#include <optional>

namespace dactyla {
namespace {

TEST(Decimal, OnlyAWholeRunOfDigitsWithinTheLimitIsANumber) {
    const struct {
        const char* text;
        std::uint32_t largest;
        std::optional<std::uint32_t> expected;
    } cases[] = {
        {"0", 10, 0},
        {"007", 10, 7},
        {"10", 10, 10},
        {"11", 10, std::nullopt},
        {"4294967295", 4294967295u, 4294967295u},
        {"4294967296", 4294967295u, std::nullopt},  // past 32 bits
        {"", 10, std::nullopt},
        {"-1", 10, std::nullopt},
        {"+1", 10, std::nullopt},
        {" 1", 10, std::nullopt},
        {"1 ", 10, std::nullopt},
        {"1a", 10, std::nullopt},
        {"\xB9", 10, std::nullopt},  // "№" in CP1251
    };
    for (const auto& c : cases) EXPECT_EQ(parseDecimal(c.text, c.largest), c.expected) << '"' << c.text << '"';
}

}  // namespace
}  // namespace dactyla
