#include "platform/large_buffer.h"

#include <algorithm>
#include <utility>

#include "platform/file.h"

namespace dactyla::platform {

LargeBuffer LargeBuffer::readFileStart(File& file, std::size_t count, std::size_t zeros) {
    LargeBuffer buffer(count + zeros);
    const std::size_t got = file.read(buffer.data_, count);
    // A short read ends the bytes where the data ended.
    buffer.size_ = got + zeros;
    std::fill_n(buffer.data_ + got, zeros, std::uint8_t {0});
    return buffer;
}

LargeBuffer LargeBuffer::ofMapping(void* base, std::size_t mapped, std::size_t count, std::size_t zeros) {
    LargeBuffer buffer;
    buffer.mappedBase_ = base;
    buffer.mapped_ = mapped;
    buffer.data_ = static_cast<std::uint8_t*>(base);
    buffer.size_ = count + zeros;
    std::fill_n(buffer.data_ + count, zeros, std::uint8_t {0});
    return buffer;
}

LargeBuffer::~LargeBuffer() { release(); }

LargeBuffer::LargeBuffer(LargeBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      mapped_(std::exchange(other.mapped_, 0)), mappedBase_(std::exchange(other.mappedBase_, nullptr)) {}

LargeBuffer& LargeBuffer::operator=(LargeBuffer&& other) noexcept {
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        mapped_ = std::exchange(other.mapped_, 0);
        mappedBase_ = std::exchange(other.mappedBase_, nullptr);
    }
    return *this;
}

}  // namespace dactyla::platform
