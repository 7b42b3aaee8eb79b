#include "driver/file_dialog.h"

#include <chrono>

#include "driver/expect.h"
#include "driver/host.h"

namespace dactyla::e2e {
namespace {

using namespace std::chrono_literals;

// The file-name field: a combo box (cmb13) in the Explorer-style dialog of Windows, an edit
// (edt1) in Wine's.
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;

HWND fileNameField(HWND dialog) {
    const HWND combo = ::GetDlgItem(dialog, kFileNameCombo);
    return combo != nullptr ? combo : ::GetDlgItem(dialog, kFileNameEdit);
}

// The dialog is answered by posting, since the program may open a box before it returns.
bool pressAndWaitForClose(HWND dialog, int buttonId) {
    pressButton(dialog, buttonId);
    return waitUntil([&] { return !::IsWindow(dialog); }, 10s);
}

}  // namespace

bool chooseInFileDialog(const RunningProgram& program, const std::wstring& title, const std::wstring& path) {
    const HWND dialog = program.waitForWindow(kDialogClass, title);
    if (dialog == nullptr) return false;
    const HWND field = fileNameField(dialog);
    if (field == nullptr) return false;
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_NORMAL, 5000, &ignored);
    return pressAndWaitForClose(dialog, IDOK);
}

bool cancelFileDialog(const RunningProgram& program, const std::wstring& title) {
    const HWND dialog = program.waitForWindow(kDialogClass, title);
    return dialog != nullptr && pressAndWaitForClose(dialog, IDCANCEL);
}

}  // namespace dactyla::e2e
