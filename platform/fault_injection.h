#pragma once
// Lets tests make file operations fail the way a full disk or a file held by another program
// does, on every platform. While no guard is alive, nothing changes.
#include <cstddef>
#include <cstdint>
#include <string>

namespace dactyla::platform {

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
};

namespace faults {
// How many of `count` bytes a write may transfer now; takes them from the allowance.
std::size_t writable(std::size_t count);
bool openRefused(const std::string& path);
}  // namespace faults

}  // namespace dactyla::platform
