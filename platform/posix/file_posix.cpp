#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "platform/fault_injection.h"
#include "platform/file.h"
#include "platform/posix/native_file.h"
#include "platform/posix/native_path.h"

namespace dactyla::platform {

struct File::Impl {
    int fd = -1;
    std::string deletePath;  // native path to unlink on close, or empty

    ~Impl() {
        if (fd >= 0) ::close(fd);
        if (!deletePath.empty()) ::unlink(deletePath.c_str());
    }
};

File::File() noexcept = default;
File::File(std::unique_ptr<Impl> impl) noexcept : impl_(std::move(impl)) {}
File::~File() = default;
File::File(File&& other) noexcept = default;
File& File::operator=(File&& other) noexcept = default;

File File::open(const std::string& path, const OpenOptions& options) {
    if (faults::openRefused(path)) return File();
    const std::string native = nativePath(path);
    int flags = (options.readOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC;
    if (options.mode != OpenMode::existing) flags |= O_CREAT;
    const int fd = ::open(native.c_str(), flags, 0666);
    if (fd < 0) return File();
    auto impl = std::make_unique<Impl>();
    impl->fd = fd;
    // Windows share modes: a writer excludes everyone else; readers exclude writers.
    const bool locks = !(options.readOnly && options.besideWriter);
    if (locks && ::flock(fd, (options.readOnly ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0) return File();
    if (options.mode == OpenMode::createAlways && ::ftruncate(fd, 0) != 0) return File();
    if (options.hint == AccessHint::sequential) ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    if (options.hint == AccessHint::randomAccess) ::posix_fadvise(fd, 0, 0, POSIX_FADV_RANDOM);
    if (options.deleteOnClose) impl->deletePath = native;
    return File(std::move(impl));
}

int nativeDescriptor(const File& file) { return file.impl_ ? file.impl_->fd : -1; }

bool File::isOpen() const noexcept { return impl_ != nullptr; }
void File::close() noexcept { impl_.reset(); }

std::optional<std::uint64_t> File::size() const {
    struct stat info {};
    if (!impl_ || ::fstat(impl_->fd, &info) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(info.st_size);
}

bool File::seek(std::uint64_t offset) {
    return impl_ && ::lseek(impl_->fd, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

std::optional<std::uint64_t> File::tell() const {
    if (!impl_) return std::nullopt;
    const off_t at = ::lseek(impl_->fd, 0, SEEK_CUR);
    if (at < 0) return std::nullopt;
    return static_cast<std::uint64_t>(at);
}

std::size_t File::read(void* buffer, std::size_t count) {
    if (!impl_) return 0;
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(impl_->fd, static_cast<char*>(buffer) + done, count - done);
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

std::size_t File::write(const void* buffer, std::size_t count) {
    if (!impl_) return 0;
    count = faults::writable(count);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t put = ::write(impl_->fd, static_cast<const char*>(buffer) + done, count - done);
        if (put <= 0) break;
        done += static_cast<std::size_t>(put);
    }
    return done;
}

bool File::truncate() {
    const auto at = tell();
    return at && ::ftruncate(impl_->fd, static_cast<off_t>(*at)) == 0;
}

bool File::flush() { return impl_ && !faults::flushRefused() && ::fsync(impl_->fd) == 0; }

std::optional<std::string> readWholeFile(const std::string& path) {
    File file = File::open(path, {.mode = OpenMode::existing, .readOnly = true});
    const auto size = file.size();
    if (!size) return std::nullopt;
    std::string content(static_cast<std::size_t>(*size), '\0');
    content.resize(file.read(content.data(), content.size()));
    return content;
}

bool fileExists(const std::string& path) {
    struct stat info {};
    return ::stat(nativePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool deleteFile(const std::string& path) { return ::unlink(nativePath(path).c_str()) == 0; }

bool replaceFile(const std::string& source, const std::string& target) {
    if (faults::replaceRefused()) return false;
    return std::rename(nativePath(source).c_str(), nativePath(target).c_str()) == 0;
}

}  // namespace dactyla::platform
