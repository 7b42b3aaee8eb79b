#include <algorithm>

#include "platform/file.h"
#include "platform/large_buffer.h"
#include "platform/win32/native_file.h"
#include "platform/win32/windows_headers.h"

namespace dactyla::platform {
namespace {

// Smaller files gain nothing from a mapping.
constexpr std::size_t kMappedFile = std::size_t {2} << 20;

std::size_t wholePages(std::uint64_t bytes) {
    SYSTEM_INFO system {};
    ::GetSystemInfo(&system);
    const std::uint64_t page = system.dwPageSize;
    return static_cast<std::size_t>((bytes + page - 1) / page * page);
}

// A copy-on-write view of the file's first `bytes` bytes, null when it cannot be had. Only the
// view is kept: it holds the mapping open until it is unmapped.
void* copyOnWriteView(HANDLE file, std::size_t bytes) {
    const HANDLE mapping = ::CreateFileMappingW(file, nullptr, PAGE_WRITECOPY, 0, 0, nullptr);
    if (mapping == nullptr) return nullptr;
    void* const view = ::MapViewOfFile(mapping, FILE_MAP_COPY, 0, 0, bytes);
    ::CloseHandle(mapping);
    return view;
}

}  // namespace

// Large pages need a privilege ordinary users lack: ordinary memory, uninitialised.
LargeBuffer::LargeBuffer(std::size_t size) : data_(new std::uint8_t[size == 0 ? 1 : size]), size_(size) {}

std::optional<LargeBuffer> LargeBuffer::ofFileStart(File& file, std::size_t count, std::size_t zeros) {
    const auto fileSize = file.size();
    if (!fileSize || !file.seek(0)) return std::nullopt;
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, *fileSize));
    // A view reaches no further than the file's last page, whose bytes past its end read as
    // zero: the zeros must fit there, or over file bytes past `count`. (The file cannot be cut
    // short while it is mapped.)
    if (count >= kMappedFile && count + zeros <= wholePages(*fileSize)) {
        const std::size_t viewed = static_cast<std::size_t>(std::min<std::uint64_t>(count + zeros, *fileSize));
        if (void* const view = copyOnWriteView(nativeHandle(file), viewed)) {
            if (file.seek(count)) return ofMapping(view, viewed, count, zeros);
            ::UnmapViewOfFile(view);
        }
    }
    return readFileStart(file, count, zeros);
}

void LargeBuffer::release() noexcept {
    if (mapped_ != 0) ::UnmapViewOfFile(mappedBase_);
    else delete[] data_;
    data_ = nullptr;
    mappedBase_ = nullptr;
    mapped_ = 0;
    size_ = 0;
}

}  // namespace dactyla::platform
