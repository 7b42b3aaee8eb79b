#pragma once
// Decimal numbers in the program's own files and fields: digits only, no sign, no blanks.
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace dactyla {

constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The whole of `text` as a number; empty when it holds anything but digits, nothing at all, or a
// number past `largest`.
inline std::optional<std::uint32_t> parseDecimal(std::string_view text,
                                                 std::uint32_t largest = std::numeric_limits<std::uint32_t>::max()) {
    // For an unsigned type from_chars takes no sign and skips no blank: digits or nothing.
    std::uint32_t value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc {} || stop != end || value > largest) return std::nullopt;
    return value;
}

}  // namespace dactyla
