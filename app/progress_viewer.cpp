#include "app/progress_viewer.h"

#include "app/handles.h"
#include "platform/file.h"
#include "users/results_log.h"

namespace dactyla::app {
namespace {

// "Умерьте свой пыл. Прогресса пока нет.\n\nP.S. Результаты учитываются, только если\n"
// "Вы набирали текст не менее 2-х минут."
constexpr const char* kNoProgressText =
    "\xD3\xEC\xE5\xF0\xFC\xF2\xE5 \xF1\xE2\xEE\xE9 \xEF\xFB\xEB. \xCF\xF0\xEE\xE3\xF0\xE5\xF1\xF1\xE0 "
    "\xEF\xEE\xEA\xE0 \xED\xE5\xF2.\n\nP.S. \xD0\xE5\xE7\xF3\xEB\xFC\xF2\xE0\xF2\xFB "
    "\xF3\xF7\xE8\xF2\xFB\xE2\xE0\xFE\xF2\xF1\xFF, \xF2\xEE\xEB\xFC\xEA\xEE \xE5\xF1\xEB\xE8\n"
    "\xC2\xFB \xED\xE0\xE1\xE8\xF0\xE0\xEB\xE8 \xF2\xE5\xEA\xF1\xF2 \xED\xE5 \xEC\xE5\xED\xE5\xE5 2-\xF5 "
    "\xEC\xE8\xED\xF3\xF2.";
// "Так дела не делаются"
constexpr const char* kRefusalTitle = "\xD2\xE0\xEA \xE4\xE5\xEB\xE0 \xED\xE5 \xE4\xE5\xEB\xE0\xFE\xF2\xF1\xFF";

constexpr int kVisibleColumns = 40;
constexpr int kTaskbarAllowance = 27;

}  // namespace

std::wstring progressCommandLine(const std::string& logPath) {
    return L"notepad.exe \"" + platform::widen(logPath) + L"\"";
}

SIZE progressWindowSize(HWND owner) {
    SIZE text {};
    {
        WindowDc dc(owner);
        SelectionGuard font(dc.get(), ::GetStockObject(SYSTEM_FIXED_FONT));
        const std::wstring columns(kVisibleColumns, L'0');
        ::GetTextExtentPoint32W(dc.get(), columns.c_str(), kVisibleColumns, &text);
    }
    const int frame = ::GetSystemMetrics(SM_CXEDGE) + 3 * ::GetSystemMetrics(SM_CXFRAME) +
                      ::GetSystemMetrics(SM_CXBORDER) + ::GetSystemMetrics(SM_CXDLGFRAME) +
                      ::GetSystemMetrics(SM_CXVSCROLL);
    return {text.cx + frame, ::GetSystemMetrics(SM_CYSCREEN) - kTaskbarAllowance};
}

void showProgress(HWND owner, const std::string& userDirectory, const Options& options) {
    const std::string logPath = resultsPath(userDirectory, options);
    if (!platform::fileExists(logPath)) {
        ::MessageBoxW(owner, platform::widen(kNoProgressText).c_str(), platform::widen(kRefusalTitle).c_str(),
                      MB_ICONINFORMATION | MB_OK);
        return;
    }
    std::wstring commandLine = progressCommandLine(logPath);
    const std::wstring workingDirectory = platform::widen(userDirectory);
    const SIZE size = progressWindowSize(owner);
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USEPOSITION | STARTF_USESIZE;
    startup.dwX = 0;
    startup.dwY = 0;
    startup.dwXSize = static_cast<DWORD>(size.cx);
    startup.dwYSize = static_cast<DWORD>(size.cy);
    PROCESS_INFORMATION started {};
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                         workingDirectory.c_str(), &startup, &started)) {
        // The editor lives on its own; nothing waits for it.
        UniqueKernelHandle process(started.hProcess);
        UniqueKernelHandle thread(started.hThread);
    }
}

}  // namespace dactyla::app
