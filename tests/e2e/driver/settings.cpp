#include "driver/settings.h"

#include <commctrl.h>

#include <chrono>

#include "driver/expect.h"
#include "driver/host.h"

namespace dactyla::e2e {
namespace {

using namespace std::chrono_literals;

constexpr UINT kReplyMs = 5000;

LRESULT sendTo(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kReplyMs, &result);
    return static_cast<LRESULT>(result);
}

}  // namespace

HWND openSettings(const RunningProgram& program, SettingsOpening how) {
    if (how == SettingsOpening::hotKey) {
        const UINT scanCode = ::MapVirtualKeyW(VK_F2, MAPVK_VK_TO_VSC);
        ::PostMessageW(program.window(), WM_KEYDOWN, VK_F2, 1 | (static_cast<LPARAM>(scanCode) << 16));
    } else {
        program.postCommand(command::kSettings);
    }
    const HWND frame = program.waitForWindow(kDialogClass, wide("Настроечки"));
    // The first page is made while the frame initialises, before it is shown.
    if (frame != nullptr) waitUntil([&] { return settingsPage(frame) != nullptr; }, 5s);
    return frame;
}

HWND settingsPage(HWND frame) { return ::FindWindowExW(frame, nullptr, kDialogClass, nullptr); }

int settingsTab(HWND frame) { return static_cast<int>(sendTo(::GetDlgItem(frame, settings::kTabs), TCM_GETCURSEL)); }

// Without the buttons style, moving the focus item selects it and notifies the frame.
bool selectSettingsTab(HWND frame, int index) {
    sendTo(::GetDlgItem(frame, settings::kTabs), TCM_SETCURFOCUS, static_cast<WPARAM>(index));
    const int marker = index == 0 ? settings::kTimerMinutes : settings::kMinLength;
    return waitUntil([&] { return ::GetDlgItem(settingsPage(frame), marker) != nullptr; }, 5s);
}

std::wstring controlText(HWND dialog, int id) { return windowText(::GetDlgItem(dialog, id)); }

void setControlText(HWND dialog, int id, const std::wstring& text) {
    sendTo(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void clickControl(HWND dialog, int id) { sendTo(::GetDlgItem(dialog, id), BM_CLICK); }

void postClick(HWND dialog, int id) { ::PostMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

bool isChecked(HWND dialog, int id) { return sendTo(::GetDlgItem(dialog, id), BM_GETCHECK) == BST_CHECKED; }

bool isEnabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

int defaultButton(HWND frame) { return LOWORD(sendTo(frame, DM_GETDEFID)); }

HWND focusedWindow(const RunningProgram& program) {
    GUITHREADINFO info {};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(program.window(), nullptr), &info);
    return info.hwndFocus;
}

void pressEnter(const RunningProgram& program) {
    const UINT scanCode = ::MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC);
    ::PostMessageW(focusedWindow(program), WM_KEYDOWN, VK_RETURN, 1 | (static_cast<LPARAM>(scanCode) << 16));
}

bool closeSettings(const RunningProgram& program, HWND frame, int buttonId) {
    return program.answer(frame, buttonId);
}

std::optional<std::string> runDactylaText(const std::wstring& arguments) {
    const std::string output = setting("DACTYLA_E2E_WORK") + "/dactyla-text-" +
                               std::to_string(::GetCurrentProcessId()) + ".out";
    SECURITY_ATTRIBUTES inherit {sizeof inherit, nullptr, TRUE};
    const HANDLE file = ::CreateFileW(windowsPath(output).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = file;
    startup.hStdError = file;
    std::wstring commandLine =
        L"\"" + windowsPath(setting("DACTYLA_E2E_PROGRAM") + "/dactyla-text.exe") + L"\" " + arguments;
    PROCESS_INFORMATION started {};
    const bool ran = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                      &startup, &started) != FALSE;
    ::CloseHandle(file);
    if (!ran) return std::nullopt;
    const bool ended = ::WaitForSingleObject(started.hProcess, 20000) == WAIT_OBJECT_0;
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    if (!ended) return std::nullopt;
    return readBytes(output);
}

}  // namespace dactyla::e2e
