#include "app/progress_viewer.h"

#include "platform/file.h"
#include "shell/handles.h"
#include "texts/interface_texts.h"
#include "users/results_log.h"

namespace dactyla::app {
namespace {


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
        ::MessageBoxW(owner, platform::widen(texts::textString("progress.nothingYet")).c_str(),
                      platform::widen(texts::textString("refusal.title")).c_str(),
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
