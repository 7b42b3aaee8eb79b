#include "app/main_window.h"

#include <commctrl.h>

#include "app/application.h"
#include "app/layout.h"
#include "platform/system.h"
#include "resources/resource.h"
#include "shell/dpi.h"
#include "shell/window_procedure.h"
#include "users/data_root.h"

namespace dactyla::app {
namespace {

constexpr DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// A second start only brings the first window forward.
bool foregroundRunningCopy() {
    const HWND running = ::FindWindowW(kMainWindowClass, nullptr);
    if (running == nullptr) return false;
    if (::IsIconic(running)) ::ShowWindow(running, SW_RESTORE);
    ::SetForegroundWindow(running);
    return true;
}

bool registerMainClass(HINSTANCE instance) {
    WNDCLASSW windowClass {};
    windowClass.style = 0;
    windowClass.lpfnWndProc = windowProcedureOf<Application>;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_HAND_ON_KEY));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_APPWORKSPACE + 1));
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDM_MAIN_MENU);
    windowClass.lpszClassName = kMainWindowClass;
    return ::RegisterClassW(&windowClass) != 0;
}

int runMessageLoop() {
    MSG message {};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int runProgram(HINSTANCE instance, int showCommand) {
    if (foregroundRunningCopy()) return 0;
    const std::string programDirectory = platform::programDirectory();
    const DataRoot dataRoot = chooseDataRoot(programDirectory, platform::localAppDataDirectory());
    if (!dataRoot.writable) {
        // Said here, naming the folder: the registry could only fail later with an error number.
        ::MessageBoxW(nullptr, platform::widen(unwritableDataRootText(dataRoot)).c_str(), kMainWindowTitle,
                      MB_OK | MB_ICONERROR);
        return 1;
    }
    Application application(instance, programDirectory, dataRoot);
    if (!registerMainClass(instance)) return 0;
    const Dpi dpi = systemDpi();
    const RECT place = scaledWindowRect(screenInUnits(dpi), dpi);
    const HWND window = ::CreateWindowExW(0, kMainWindowClass, kMainWindowTitle, kWindowStyle, place.left, place.top,
                                          place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                                          instance, &application);
    // Also when nobody was there to type: creation then ended the program.
    if (window == nullptr) return 0;
    // The settings and import dialogs hold a tab control and a progress bar.
    ::InitCommonControls();
    ::ShowWindow(window, showCommand);
    ::UpdateWindow(window);
    return runMessageLoop();
}

}  // namespace dactyla::app
