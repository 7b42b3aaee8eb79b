#include <sys/mman.h>

#include <new>
#include <utility>

#include "platform/large_buffer.h"

namespace dactyla::platform {
namespace {

// Smaller buffers gain nothing from large pages.
constexpr std::size_t kLargePage = std::size_t {2} << 20;

}  // namespace

LargeBuffer::LargeBuffer(std::size_t size) : size_(size) {
    if (size < kLargePage) {
        data_ = new std::uint8_t[size == 0 ? 1 : size];
        return;
    }
    // One large page more, so the aligned part covers the whole buffer.
    mapped_ = size + kLargePage;
    void* const mapping = ::mmap(nullptr, mapped_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) throw std::bad_alloc();
    auto* const base = static_cast<std::uint8_t*>(mapping);
    const std::size_t misalignment = reinterpret_cast<std::uintptr_t>(base) % kLargePage;
    data_ = base + (misalignment == 0 ? 0 : kLargePage - misalignment);
#ifdef MADV_HUGEPAGE
    ::madvise(base, mapped_, MADV_HUGEPAGE);
#endif
    mappedBase_ = base;
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

void LargeBuffer::release() noexcept {
    if (mapped_ != 0) ::munmap(mappedBase_, mapped_);
    else delete[] data_;
    data_ = nullptr;
    mappedBase_ = nullptr;
    mapped_ = 0;
    size_ = 0;
}

}  // namespace dactyla::platform
