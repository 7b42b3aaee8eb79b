#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <new>

#include "platform/file.h"
#include "platform/large_buffer.h"
#include "platform/posix/native_file.h"

namespace dactyla::platform {
namespace {

// Smaller buffers gain nothing from large pages, smaller files nothing from a mapping.
constexpr std::size_t kLargePage = std::size_t {2} << 20;

std::size_t wholePages(std::size_t bytes) {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return (bytes + page - 1) / page * page;
}

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

std::optional<LargeBuffer> LargeBuffer::ofFileStart(File& file, std::size_t count, std::size_t zeros) {
    const auto fileSize = file.size();
    if (!fileSize || !file.seek(0)) return std::nullopt;
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, *fileSize));
    if (count >= kLargePage) {
        // Room for the file's pages and the zeros after them, then the file's pages laid over
        // its start: the bytes of its last page past its end read as zero, the rest is zero
        // memory. (Cutting the file short while it is mapped would fault its lost pages.)
        const std::size_t filePages = wholePages(count);
        const std::size_t room = filePages + wholePages(zeros);
        void* const base = ::mmap(nullptr, room, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (base != MAP_FAILED) {
            if (::mmap(base, filePages, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_FIXED, nativeDescriptor(file), 0) !=
                    MAP_FAILED &&
                file.seek(count))
                return ofMapping(base, room, count, zeros);
            ::munmap(base, room);
        }
    }
    return readFileStart(file, count, zeros);
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
