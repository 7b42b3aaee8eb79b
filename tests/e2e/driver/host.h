#pragma once
// The world around the end-to-end driver: its settings, paths between Linux and Wine, files,
// and Linux commands (screenshots, real keystrokes) started from inside Wine.
#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace dactyla::e2e {

// A setting of the driver's environment (set by scripts/e2e.sh), empty when missing.
std::string setting(const char* name);

// "/tmp/x" -> "Z:\tmp\x": Wine maps drive Z: to the Linux root.
std::wstring windowsPath(const std::string& linuxPath);
std::wstring widenUtf8(const std::string& utf8);
std::string narrowUtf8(const std::wstring& wide);

std::optional<std::string> readBytes(const std::string& linuxPath);
bool writeBytes(const std::string& linuxPath, const std::string& bytes);
bool exists(const std::string& linuxPath);
bool makeDirectory(const std::string& linuxPath);
bool copyFile(const std::string& from, const std::string& to);
bool copyDirectory(const std::string& from, const std::string& to);
void removeTree(const std::string& linuxPath);

// Runs a shell script on Linux and waits until it has finished (Wine cannot wait for a Linux
// process, so the script leaves a mark). False on a non-zero exit or a timeout.
bool runLinux(const std::string& script, std::chrono::milliseconds timeout = std::chrono::seconds(20));

// Polls `done` until it holds or the time is up.
bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
               std::chrono::milliseconds step = std::chrono::milliseconds(20));

void pause(std::chrono::milliseconds duration);

}  // namespace dactyla::e2e
