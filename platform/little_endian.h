#pragma once
// The stored files are little-endian whatever the machine: fields are packed byte by byte.
#include <cstdint>

namespace dactyla {

// The `size` (1 to 4) bytes at `bytes` as an unsigned number.
inline std::uint32_t readLe(const std::uint8_t* bytes, unsigned size) {
    std::uint32_t value = 0;
    for (unsigned k = 0; k < size; ++k) value |= std::uint32_t {bytes[k]} << (8 * k);
    return value;
}

// The low `size` (1 to 4) bytes of `value` into `bytes`.
inline void putLe(std::uint8_t* bytes, std::uint32_t value, unsigned size) {
    for (unsigned k = 0; k < size; ++k) bytes[k] = static_cast<std::uint8_t>(value >> (8 * k));
}

}  // namespace dactyla
