#pragma once
// Memory for a whole file read at once (a 16 MiB text). It is left uninitialised, and where
// the system allows, it is backed by large pages: a fresh 16 MiB buffer is otherwise faulted
// in 4 KiB at a time, which costs more than reading the file.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace dactyla::platform {

class File;

class LargeBuffer {
public:
    LargeBuffer() noexcept = default;
    // Throws std::bad_alloc when the memory cannot be had, as new does.
    explicit LargeBuffer(std::size_t size);
    // The first `count` bytes of `file` (fewer when it is shorter) followed by `zeros` zero
    // bytes, size() counting both; nothing when the file cannot be read. The file's cursor
    // ends after the bytes taken. Where the system allows, a large file is mapped from the
    // system's cache, its pages copied only if written, rather than read into fresh memory
    // the system must first clear.
    static std::optional<LargeBuffer> ofFileStart(File& file, std::size_t count, std::size_t zeros);
    ~LargeBuffer();
    LargeBuffer(LargeBuffer&& other) noexcept;
    LargeBuffer& operator=(LargeBuffer&& other) noexcept;
    LargeBuffer(const LargeBuffer&) = delete;
    LargeBuffer& operator=(const LargeBuffer&) = delete;

    std::uint8_t* data() const noexcept { return data_; }
    std::size_t size() const noexcept { return size_; }

private:
    // The first `count` bytes of `file` read into fresh memory, then `zeros` zero bytes: where
    // mapping is not worth it or not possible.
    static LargeBuffer readFileStart(File& file, std::size_t count, std::size_t zeros);
    // The buffer over `mapped` bytes the system handed out at `base`, holding a file's first
    // `count` bytes, then `zeros` zero bytes written over what follows them.
    static LargeBuffer ofMapping(void* base, std::size_t mapped, std::size_t count, std::size_t zeros);
    void release() noexcept;

    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t mapped_ = 0;  // what the system handed out, 0 for ordinary memory
    void* mappedBase_ = nullptr;  // where it starts
};

}  // namespace dactyla::platform
