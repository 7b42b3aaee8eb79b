#include <utility>

#include "platform/large_buffer.h"

namespace dactyla::platform {

// Large pages need a privilege ordinary users lack: ordinary memory, uninitialised.
LargeBuffer::LargeBuffer(std::size_t size) : data_(new std::uint8_t[size == 0 ? 1 : size]), size_(size) {}

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
