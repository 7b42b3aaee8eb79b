#include "driver/host.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <thread>
#include <vector>

namespace dactyla::e2e {

std::string setting(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::wstring widenUtf8(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

std::string narrowUtf8(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr,
                          nullptr);
    return utf8;
}

std::wstring windowsPath(const std::string& linuxPath) {
    std::wstring path = L"Z:" + widenUtf8(linuxPath);
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

std::optional<std::string> readBytes(const std::string& linuxPath) {
    // Read-write sharing: the program may hold the file open while the driver looks at it.
    const HANDLE file = ::CreateFileW(windowsPath(linuxPath).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    ::CloseHandle(file);
    return bytes;
}

bool writeBytes(const std::string& linuxPath, const std::string& bytes) {
    const HANDLE file = ::CreateFileW(windowsPath(linuxPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    ::CloseHandle(file);
    return ok;
}

bool exists(const std::string& linuxPath) {
    return ::GetFileAttributesW(windowsPath(linuxPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool makeDirectory(const std::string& linuxPath) {
    return ::CreateDirectoryW(windowsPath(linuxPath).c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

bool copyFile(const std::string& from, const std::string& to) {
    return ::CopyFileW(windowsPath(from).c_str(), windowsPath(to).c_str(), FALSE) != FALSE;
}

bool copyDirectory(const std::string& from, const std::string& to) {
    if (!makeDirectory(to)) return false;
    WIN32_FIND_DATAW found {};
    const HANDLE search = ::FindFirstFileW((windowsPath(from) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return true;
    bool ok = true;
    do {
        const std::string name = narrowUtf8(found.cFileName);
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ok = copyDirectory(from + "/" + name, to + "/" + name) && ok;
        else ok = copyFile(from + "/" + name, to + "/" + name) && ok;
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return ok;
}

void removeTree(const std::string& linuxPath) {
    WIN32_FIND_DATAW found {};
    const HANDLE search = ::FindFirstFileW((windowsPath(linuxPath) + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = narrowUtf8(found.cFileName);
            if (name == "." || name == "..") continue;
            const std::string child = linuxPath + "/" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) removeTree(child);
            else {
                ::SetFileAttributesW(windowsPath(child).c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(windowsPath(child).c_str());
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(windowsPath(linuxPath).c_str());
}

bool runLinux(const std::string& script, std::chrono::milliseconds timeout) {
    static std::atomic<int> counter {0};
    const std::string base = setting("DACTYLA_E2E_WORK") + "/linux-" + std::to_string(::GetCurrentProcessId()) + "-" +
                             std::to_string(counter++);
    const std::string scriptPath = base + ".sh";
    const std::string statusPath = base + ".status";
    // The status file appears in one step, so a half-written one is never read.
    const std::string wrapped = "(\n" + script + "\n) >/dev/null 2>&1\necho $? > '" + statusPath + ".tmp'\nmv '" +
                                statusPath + ".tmp' '" + statusPath + "'\n";
    if (!writeBytes(scriptPath, wrapped)) return false;
    std::wstring commandLine = L"/bin/sh \"" + widenUtf8(scriptPath) + L"\"";
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started {};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &started))
        return false;
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    std::optional<std::string> status;
    waitUntil([&] { return (status = readBytes(statusPath)).has_value(); }, timeout);
    ::DeleteFileW(windowsPath(scriptPath).c_str());
    ::DeleteFileW(windowsPath(statusPath).c_str());
    return status.has_value() && status->rfind("0", 0) == 0;
}

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout, std::chrono::milliseconds step) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(step);
    }
}

void pause(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

}  // namespace dactyla::e2e
