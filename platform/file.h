#pragma once
// Files as the program uses them: read/write access, others may only read.
// Paths are CP1251 strings built with joinPath; each platform maps them to its own names.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace dactyla::platform {

enum class OpenMode {
    existing,      // fail when the file is missing
    always,        // create an empty file when missing
    createAlways,  // create, or cut an existing file to zero bytes
};

enum class AccessHint { none, sequential, randomAccess };

struct OpenOptions {
    OpenMode mode = OpenMode::existing;
    AccessHint hint = AccessHint::none;
    bool readOnly = false;       // read access only; others may read too
    bool deleteOnClose = false;  // the file disappears when the last handle closes
    // With readOnly: opens while a writer holds the file, which it may go on writing (the
    // course reads the text the open corpus holds).
    bool besideWriter = false;
};

// Move-only owner of an open file. A default-constructed File is closed, and every
// operation on a closed File fails quietly (reads give 0 bytes, writes write nothing).
class File {
public:
    File() noexcept;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // A closed File when the file cannot be opened (missing, locked by another holder, no rights).
    static File open(const std::string& path, const OpenOptions& options);

    bool isOpen() const noexcept;
    void close() noexcept;

    std::optional<std::uint64_t> size() const;
    bool seek(std::uint64_t offset);
    std::optional<std::uint64_t> tell() const;
    // Both return the number of bytes transferred, 0 on failure.
    std::size_t read(void* buffer, std::size_t count);
    std::size_t write(const void* buffer, std::size_t count);
    // Ends the file at the current position.
    bool truncate();
    bool flush();

    struct Impl;
    // Windows only (platform/win32/wide_path.h): a file named by a UTF-16 path.
    friend File openFile(const std::wstring& path, const OpenOptions& options);
    // POSIX only (platform/posix/native_file.h): its descriptor.
    friend int nativeDescriptor(const File& file);
    // Windows only (platform/win32/native_file.h): its handle, a HANDLE.
    friend void* nativeHandle(const File& file);

private:
    explicit File(std::unique_ptr<Impl> impl) noexcept;
    std::unique_ptr<Impl> impl_;
};

// Whole-file helpers for tools and tests; the program itself keeps files open through File.
std::optional<std::string> readWholeFile(const std::string& path);
bool fileExists(const std::string& path);
bool deleteFile(const std::string& path);
// Replaces `target` by `source` in one step where the system allows it.
bool replaceFile(const std::string& source, const std::string& target);

}  // namespace dactyla::platform
