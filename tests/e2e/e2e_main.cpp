// The end-to-end driver's entry point. "--idle" makes it a bare Wine process that ends at once:
// the start-up benchmark measures what Wine itself costs with it. Copied as notepad.exe beside
// the program, it stands in for the editor and records how it was started.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "driver/host.h"

namespace {

bool startedAsEditor() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const wchar_t* name = std::wcsrchr(path, L'\\');
    return name != nullptr && ::lstrcmpiW(name + 1, L"notepad.exe") == 0;
}

// editor-start.txt in the working directory: one "key=value" line per fact.
int recordEditorStart() {
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    ::GetStartupInfoW(&startup);
    wchar_t directory[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, directory);
    const std::wstring record = L"command=" + std::wstring(::GetCommandLineW()) + L"\ndirectory=" + directory +
                                L"\nflags=" + std::to_wstring(startup.dwFlags) + L"\nx=" + std::to_wstring(startup.dwX) +
                                L"\ny=" + std::to_wstring(startup.dwY) + L"\nwidth=" + std::to_wstring(startup.dwXSize) +
                                L"\nheight=" + std::to_wstring(startup.dwYSize) + L"\n";
    const std::string bytes = dactyla::e2e::narrowUtf8(record);
    const HANDLE file = ::CreateFileW(L"editor-start.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (startedAsEditor()) return recordEditorStart();
    if (argc > 1 && std::strcmp(argv[1], "--idle") == 0) return 0;
    // The driver reads the program's windows and the screen in real pixels, whatever the DPI.
    ::SetProcessDPIAware();
    for (const char* name : {"DACTYLA_E2E_PROGRAM", "DACTYLA_E2E_WORK", "DACTYLA_E2E_ARTIFACTS", "DACTYLA_WINE"}) {
        if (dactyla::e2e::setting(name).empty()) {
            std::fprintf(stderr, "%s is not set: run the end-to-end tests through scripts/e2e.sh\n", name);
            return 2;
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
