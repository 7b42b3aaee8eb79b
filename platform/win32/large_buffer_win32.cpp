#include <algorithm>
#include <utility>

#include "platform/file.h"
#include "platform/large_buffer.h"

namespace dactyla::platform {

// Large pages need a privilege ordinary users lack: ordinary memory, uninitialised.
LargeBuffer::LargeBuffer(std::size_t size) : data_(new std::uint8_t[size == 0 ? 1 : size]), size_(size) {}

std::optional<LargeBuffer> LargeBuffer::ofFileStart(File& file, std::size_t count, std::size_t zeros) {
    const auto fileSize = file.size();
    if (!fileSize || !file.seek(0)) return std::nullopt;
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, *fileSize));
    LargeBuffer buffer(count + zeros);
    const std::size_t got = file.read(buffer.data_, count);
    // A short read ends the bytes where the data ended.
    buffer.size_ = got + zeros;
    std::fill_n(buffer.data_ + got, zeros, std::uint8_t {0});
    return buffer;
}

LargeBuffer::~LargeBuffer() { release(); }

LargeBuffer::LargeBuffer(LargeBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

LargeBuffer& LargeBuffer::operator=(LargeBuffer&& other) noexcept {
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

void LargeBuffer::release() noexcept {
    delete[] data_;
    data_ = nullptr;
    size_ = 0;
}

}  // namespace dactyla::platform
