#include "platform/fault_injection.h"
#include "platform/file.h"
#include "platform/win32/native_file.h"
#include "platform/win32/wide_path.h"
#include "platform/win32/windows_headers.h"

namespace dactyla::platform {

struct File::Impl {
    HANDLE handle = INVALID_HANDLE_VALUE;
    ~Impl() {
        if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
    }
};

HANDLE nativeHandle(const File& file) { return file.impl_ ? file.impl_->handle : INVALID_HANDLE_VALUE; }

File::File() noexcept = default;
File::File(std::unique_ptr<Impl> impl) noexcept : impl_(std::move(impl)) {}
File::~File() = default;
File::File(File&& other) noexcept = default;
File& File::operator=(File&& other) noexcept = default;

File openFile(const std::wstring& path, const OpenOptions& options) {
    const DWORD access = options.readOnly ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    DWORD disposition = OPEN_EXISTING;
    if (options.mode == OpenMode::always) disposition = OPEN_ALWAYS;
    if (options.mode == OpenMode::createAlways) disposition = CREATE_ALWAYS;
    DWORD flags = FILE_ATTRIBUTE_NORMAL;
    if (options.hint == AccessHint::sequential) flags |= FILE_FLAG_SEQUENTIAL_SCAN;
    if (options.hint == AccessHint::randomAccess) flags |= FILE_FLAG_RANDOM_ACCESS;
    if (options.deleteOnClose) flags |= FILE_FLAG_DELETE_ON_CLOSE;
    // Delete-on-close files must allow deletion by their own handle's close.
    const DWORD share = FILE_SHARE_READ | (options.deleteOnClose ? FILE_SHARE_DELETE : 0) |
                        (options.readOnly && options.besideWriter ? FILE_SHARE_WRITE : 0);
    const HANDLE handle = ::CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return File();
    auto impl = std::make_unique<File::Impl>();
    impl->handle = handle;
    return File(std::move(impl));
}

File File::open(const std::string& path, const OpenOptions& options) {
    if (faults::openRefused(path)) return File();
    return openFile(widen(path), options);
}

bool File::isOpen() const noexcept { return impl_ != nullptr; }
void File::close() noexcept { impl_.reset(); }

std::optional<std::uint64_t> File::size() const {
    LARGE_INTEGER size {};
    if (!impl_ || !::GetFileSizeEx(impl_->handle, &size)) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}

bool File::seek(std::uint64_t offset) {
    LARGE_INTEGER to {};
    to.QuadPart = static_cast<LONGLONG>(offset);
    return impl_ && ::SetFilePointerEx(impl_->handle, to, nullptr, FILE_BEGIN);
}

std::optional<std::uint64_t> File::tell() const {
    LARGE_INTEGER zero {}, at {};
    if (!impl_ || !::SetFilePointerEx(impl_->handle, zero, &at, FILE_CURRENT)) return std::nullopt;
    return static_cast<std::uint64_t>(at.QuadPart);
}

std::size_t File::read(void* buffer, std::size_t count) {
    if (!impl_) return 0;
    std::size_t done = 0;
    while (done < count) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
        DWORD got = 0;
        if (!::ReadFile(impl_->handle, static_cast<char*>(buffer) + done, chunk, &got, nullptr) || got == 0)
            break;
        done += got;
    }
    return done;
}

std::size_t File::write(const void* buffer, std::size_t count) {
    if (!impl_) return 0;
    count = faults::writable(count);
    std::size_t done = 0;
    while (done < count) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
        DWORD put = 0;
        if (!::WriteFile(impl_->handle, static_cast<const char*>(buffer) + done, chunk, &put, nullptr) || put == 0)
            break;
        done += put;
    }
    return done;
}

bool File::truncate() { return impl_ && ::SetEndOfFile(impl_->handle); }
bool File::flush() { return impl_ && !faults::flushRefused() && ::FlushFileBuffers(impl_->handle); }

std::optional<std::string> readWholeFile(const std::string& path) {
    File file = File::open(path, {.mode = OpenMode::existing, .readOnly = true});
    const auto size = file.size();
    if (!size) return std::nullopt;
    std::string content(static_cast<std::size_t>(*size), '\0');
    content.resize(file.read(content.data(), content.size()));
    return content;
}

bool fileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool deleteFile(const std::string& path) { return ::DeleteFileW(widen(path).c_str()) != 0; }

bool replaceFile(const std::string& source, const std::string& target) {
    if (faults::replaceRefused()) return false;
    return ::MoveFileExW(widen(source).c_str(), widen(target).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

namespace {

std::wstring fullPath(const std::wstring& path) {
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return {};
    std::wstring full(needed, L'\0');
    const DWORD written = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    full.resize(written < needed ? written : 0);
    return full;
}

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept { ::CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const FileIdentity&) const = default;
};

// Asks for no access, so a file another holder keeps open for writing can still be named.
std::optional<FileIdentity> identityOf(const std::wstring& path) {
    const HANDLE opened = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return std::nullopt;
    const UniqueHandle handle(opened);
    BY_HANDLE_FILE_INFORMATION information {};
    if (!::GetFileInformationByHandle(handle.get(), &information)) return std::nullopt;
    return FileIdentity {information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}

}  // namespace

bool sameFile(const std::wstring& first, const std::wstring& second) {
    const std::wstring a = fullPath(first);
    const std::wstring b = fullPath(second);
    if (!a.empty() && ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                             static_cast<int>(b.size()), TRUE) == CSTR_EQUAL) {
        return true;
    }
    const auto firstIdentity = identityOf(first);
    return firstIdentity && firstIdentity == identityOf(second);
}

}  // namespace dactyla::platform
