#pragma once
// Lets tests make file operations fail the way a full disk or a file held by another program
// does, on every platform. While no guard is alive, nothing changes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace dactyla::platform {

// The file calls a fault can stop, one by one.
enum class FileCall { open, write, flush, replace };
inline constexpr std::array kFileCalls = {FileCall::open, FileCall::write, FileCall::flush, FileCall::replace};

// Only one guard at a time; its faults end when it is destroyed.
class ScopedFileFaults {
public:
    ScopedFileFaults();
    ~ScopedFileFaults();
    ScopedFileFaults(const ScopedFileFaults&) = delete;
    ScopedFileFaults& operator=(const ScopedFileFaults&) = delete;

    // Writes, counted over all files, succeed for `bytes` more bytes and then write nothing.
    void failWritesAfter(std::uint64_t bytes);
    // Opens of any path whose file name is `name` fail.
    void failOpensOf(std::string name);
    // The `nth` call of that kind made under this guard (counting from 1) fails: an open finds
    // the file locked, a write writes nothing, a flush or a replace reports failure and does nothing.
    void failCall(FileCall call, int nth);
    // How many calls of that kind were made under this guard.
    int callsMade(FileCall call) const;
};

namespace faults {
// How many of `count` bytes a write may transfer now; takes them from the allowance.
std::size_t writable(std::size_t count);
bool openRefused(const std::string& path);
bool flushRefused();
bool replaceRefused();
}  // namespace faults

}  // namespace dactyla::platform
