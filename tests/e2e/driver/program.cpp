#include "driver/program.h"

#include <gtest/gtest.h>

#include <atomic>

#include "driver/host.h"
#include "guide/keyboard_choice.h"

namespace dactyla::e2e {
namespace {

std::string freshDirectory() {
    static std::atomic<int> counter {0};
    const std::string path = setting("DACTYLA_E2E_WORK") + "/program-" + std::to_string(::GetCurrentProcessId()) +
                             "-" + std::to_string(counter++);
    removeTree(path);
    makeDirectory(path);
    return path;
}

void putU16(std::string& bytes, std::uint16_t value) {
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>(value >> 8);
}

void putU32(std::string& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t getU(const std::string& bytes, std::size_t offset, int size) {
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value |= std::uint32_t {static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)])} << (8 * i);
    return value;
}

struct ProcessWindows {
    DWORD processId;
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<ProcessWindows*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    if (owner == search->processId && ::IsWindowVisible(window) && wcscmp(className, search->className) == 0)
        search->found.push_back(window);
    return TRUE;
}

}  // namespace

ProgramDirectory::ProgramDirectory(bool withShippedTexts) : path_(freshDirectory()) {
    const std::string source = setting("DACTYLA_E2E_PROGRAM");
    copyFile(source + "/Dactyla.exe", file("Dactyla.exe"));
    copyDirectory(source + "/Sound", file("Sound"));
    // The course's key order, which the program reads from beside itself.
    if (exists(source + "/Course.txt")) copyFile(source + "/Course.txt", file("Course.txt"));
    if (withShippedTexts) {
        copyFile(source + "/TextData.Rus", file("TextData.Rus"));
        copyFile(source + "/TextData.Eng", file("TextData.Eng"));
    }
}

ProgramDirectory::~ProgramDirectory() { removeTree(path_); }

void ProgramDirectory::addUser(const std::string& name, const std::string& optionsBytes) {
    makeDirectory(file("Users"));
    makeDirectory(userDirectory(name));
    if (!optionsBytes.empty()) writeBytes(userDirectory(name) + "/Options.dat", optionsBytes);
}

void ProgramDirectory::writeText(bool russian, const std::vector<std::string>& sentencesUtf8) {
    std::string text;
    for (const std::string& sentence : sentencesUtf8) text += toCp1251(sentence) + "\r\n";
    writeBytes(file(russian ? "TextData.Rus" : "TextData.Eng"), text);
}

std::string storedOptionsBytes(const StoredOptions& options) {
    std::string bytes;
    putU32(bytes, options.totalCharacters);
    putU32(bytes, options.totalSeconds);
    putU16(bytes, options.minLength);
    putU16(bytes, options.maxLength);
    putU16(bytes, options.timerSeconds);
    const unsigned flags = unsigned {options.russian} | unsigned {options.alphabetMode} << 1 |
                           unsigned {options.uniformLetters} << 2 | unsigned {options.allowCapitals} << 3 |
                           unsigned {options.timerEnabled} << 4 | unsigned {options.backgroundSound} << 5 |
                           (options.maxCapitalRun & 15u) << 8 | (options.picture & 15u) << 12;
    putU16(bytes, static_cast<std::uint16_t>(flags));
    return bytes;
}

StoredOptions quietOptions(bool russian) {
    StoredOptions options;
    options.russian = russian;
    options.backgroundSound = false;
    return options;
}

void showKeyboardAlways(const ProgramDirectory& directory, const std::string& user) {
    writeBytes(directory.userDirectory(user) + "/Keyboard.dat", encodeKeyboardChoice({KeyboardMode::always, true}));
}

StoredOptions parseStoredOptions(const std::string& bytes) {
    StoredOptions options;
    if (bytes.size() < 16) return options;
    options.totalCharacters = getU(bytes, 0, 4);
    options.totalSeconds = getU(bytes, 4, 4);
    options.minLength = static_cast<std::uint16_t>(getU(bytes, 8, 2));
    options.maxLength = static_cast<std::uint16_t>(getU(bytes, 10, 2));
    options.timerSeconds = static_cast<std::uint16_t>(getU(bytes, 12, 2));
    const std::uint32_t flags = getU(bytes, 14, 2);
    options.russian = flags & 1;
    options.alphabetMode = (flags >> 1) & 1;
    options.uniformLetters = (flags >> 2) & 1;
    options.allowCapitals = (flags >> 3) & 1;
    options.timerEnabled = (flags >> 4) & 1;
    options.backgroundSound = (flags >> 5) & 1;
    options.maxCapitalRun = static_cast<std::uint8_t>((flags >> 8) & 15);
    options.picture = static_cast<std::uint8_t>((flags >> 12) & 15);
    return options;
}

RunningProgram::RunningProgram(const ProgramDirectory& directory, const std::string& locale, Copies copies) {
    start(directory, locale, copies);
}

RunningProgram::~RunningProgram() {
    if (running()) {
        ::TerminateProcess(process_, 1);
        ::WaitForSingleObject(process_, 5000);
    }
    if (process_ != nullptr) ::CloseHandle(process_);
}

// With another locale the program goes through /usr/bin/env, a Linux process that Wine cannot
// hand back: the program's own process is then found through its window.
void RunningProgram::start(const ProgramDirectory& directory, const std::string& locale, Copies copies) {
    // The window of a copy that is still going away must not be taken for this one's.
    if (copies == Copies::onlyThis)
        waitUntil([] { return ::FindWindowW(kMainClass, nullptr) == nullptr; }, std::chrono::seconds(10));
    const std::wstring executable = windowsPath(directory.file("Dactyla.exe"));
    std::wstring commandLine = locale.empty()
                                   ? L"\"" + executable + L"\""
                                   : L"/usr/bin/env LANG=" + widenUtf8(locale) + L" LC_ALL=" + widenUtf8(locale) +
                                         L" \"" + widenUtf8(setting("DACTYLA_WINE")) + L"\" \"" + executable + L"\"";
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started {};
    const std::wstring workingDirectory = windowsPath(directory.path());
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, workingDirectory.c_str(),
                          &startup, &started))
        return;
    ::CloseHandle(started.hThread);
    if (locale.empty()) {
        process_ = started.hProcess;
        processId_ = started.dwProcessId;
    } else {
        ::CloseHandle(started.hProcess);
    }
}

bool RunningProgram::waitForMainWindow(std::chrono::milliseconds timeout) {
    const bool found = waitUntil(
        [&] {
            if (process_ != nullptr && !running()) return true;
            const HWND window = ::FindWindowW(kMainClass, nullptr);
            if (window == nullptr || !::IsWindowVisible(window)) return false;
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (process_ != nullptr && owner != processId_) return false;
            window_ = window;
            return true;
        },
        timeout);
    if (!found || window_ == nullptr) return false;
    if (process_ == nullptr) {
        ::GetWindowThreadProcessId(window_, &processId_);
        process_ = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                 processId_);
    }
    return settle();
}

bool RunningProgram::running() const {
    return process_ != nullptr && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool RunningProgram::waitForExit(std::chrono::milliseconds timeout) {
    if (process_ == nullptr) {
        // Never seen: it may still be on its way up or already gone.
        return waitUntil([&] { return ::FindWindowW(kMainClass, nullptr) == nullptr; }, timeout);
    }
    return ::WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> RunningProgram::exitCode() const {
    DWORD code = 0;
    if (process_ == nullptr || running() || !::GetExitCodeProcess(process_, &code)) return std::nullopt;
    return code;
}

// A key that opens a modal box would hold a plain SendMessage for ever: such keys are posted,
// and one sent by mistake fails the test instead of hanging the run.
void RunningProgram::typeCharacter(wchar_t character) const {
    sendOrFail(WM_CHAR, character, 1);
}

void RunningProgram::sendOrFail(UINT message, WPARAM wParam, LPARAM lParam) const {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window_, message, wParam, lParam, SMTO_NORMAL, 15000, &result))
        ADD_FAILURE() << "the program did not answer message " << message << " within 15 s (a modal box?)";
}

void RunningProgram::typeText(const std::wstring& text) const {
    for (wchar_t character : text) typeCharacter(character);
}

void RunningProgram::postCharacter(wchar_t character) const { ::PostMessageW(window_, WM_CHAR, character, 1); }

void RunningProgram::pressKey(UINT virtualKey) const {
    const UINT scanCode = ::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    sendOrFail(WM_KEYDOWN, virtualKey, 1 | (static_cast<LPARAM>(scanCode) << 16));
}

void RunningProgram::postCommand(unsigned command) const { ::PostMessageW(window_, WM_COMMAND, command, 0); }

bool RunningProgram::settle(std::chrono::milliseconds timeout) const {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeout.count()), &result) != 0;
}

HWND RunningProgram::waitForWindow(const wchar_t* className, const std::wstring& title,
                                   std::chrono::milliseconds timeout) const {
    HWND found = nullptr;
    waitUntil(
        [&] {
            for (HWND window : windowsOf(processId_, className)) {
                if (title.empty() || windowText(window) == title) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeout);
    return found;
}

HWND RunningProgram::adoptWindow(const wchar_t* className, const std::wstring& title,
                                 std::chrono::milliseconds timeout) {
    if (process_ != nullptr) return waitForWindow(className, title, timeout);
    HWND found = nullptr;
    waitUntil(
        [&] {
            found = ::FindWindowW(className, title.c_str());
            return found != nullptr && ::IsWindowVisible(found);
        },
        timeout);
    if (found == nullptr) return nullptr;
    ::GetWindowThreadProcessId(found, &processId_);
    process_ = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId_);
    return found;
}

bool RunningProgram::noWindowOfClass(const wchar_t* className) const {
    return windowsOf(processId_, className).empty();
}

bool RunningProgram::answer(HWND dialog, int buttonId) const {
    pressButton(dialog, buttonId);
    if (!waitUntil([&] { return !::IsWindow(dialog); }, std::chrono::seconds(10))) return false;
    return !running() || settle();
}

std::vector<HWND> windowsOf(DWORD processId, const wchar_t* className) {
    ProcessWindows search {processId, className, {}};
    ::EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring windowText(HWND window) {
    wchar_t text[1024] = {};
    ::SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, nullptr);
    return text;
}

std::wstring messageBoxText(HWND box) { return windowText(::GetDlgItem(box, 0xFFFF)); }

void pressButton(HWND dialog, int buttonId) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, buttonId)));
}

std::string toCp1251(const std::string& utf8) {
    const std::wstring wide = widenUtf8(utf8);
    std::string bytes(wide.size() * 2 + 1, '\0');
    const int length = ::WideCharToMultiByte(1251, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(),
                                             static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(static_cast<std::size_t>(length));
    return bytes;
}

std::string fromCp1251(const std::string& cp1251) {
    if (cp1251.empty()) return {};
    std::wstring wide(cp1251.size(), L'\0');
    const int length = ::MultiByteToWideChar(1251, 0, cp1251.data(), static_cast<int>(cp1251.size()), wide.data(),
                                             static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(length));
    return narrowUtf8(wide);
}

}  // namespace dactyla::e2e
