#include "dialogs/help_dialog.h"

#include <cstring>

#include "dialogs/dialog_support.h"
#include "resources/resource.h"

namespace dactyla::dialogs {
namespace {

struct HelpDialogData {
    HINSTANCE instance = nullptr;
    app::UniqueFont font;
};

// Lines the scroll bar moves for a click in its track.
constexpr UINT kScrollPageLines = 20;

void showPage(HWND dialog, const HelpDialogData& data, int pageId) {
    ::SetDlgItemTextW(dialog, IDC_HELP_TEXT, loadHelpPage(data.instance, pageId).c_str());
}

INT_PTR onInit(HWND dialog, HelpDialogData& data) {
    data.font = useCyrillicFont(dialog);
    showPage(dialog, data, IDR_HELP_PAGE_MAIN);
    const HWND text = ::GetDlgItem(dialog, IDC_HELP_TEXT);
    SCROLLINFO scroll {};
    scroll.cbSize = sizeof(scroll);
    scroll.fMask = SIF_PAGE;
    scroll.nPage = kScrollPageLines;
    ::SetScrollInfo(text, SB_VERT, &scroll, FALSE);
    ::SendMessageW(text, EM_SETSEL, kSubheadingStart, kSubheadingEnd);
    ::SetFocus(text);
    return FALSE;  // the focus is set
}

INT_PTR CALLBACK helpProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    HelpDialogData* data = dialogData<HelpDialogData>(dialog, message, lParam);
    if (data == nullptr) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        return onInit(dialog, *data);
    case WM_COMMAND: {
        const int command = LOWORD(wParam);
        if (command == IDOK || command == IDCANCEL) {
            ::EndDialog(dialog, 0);
            return TRUE;
        }
        if (const int page = helpPageForCommand(command); page != 0) {
            showPage(dialog, *data, page);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

}  // namespace

int helpPageForCommand(int command) noexcept {
    switch (command) {
    case IDM_HELP_PAGE_MAIN:
        return IDR_HELP_PAGE_MAIN;
    case IDM_HELP_PAGE_SETTINGS:
        return IDR_HELP_PAGE_SETTINGS;
    case IDM_HELP_PAGE_HOT_KEYS:
        return IDR_HELP_PAGE_HOT_KEYS;
    case IDM_HELP_PAGE_MISC:
        return IDR_HELP_PAGE_MISC;
    default:
        return 0;
    }
}

std::wstring loadHelpPage(HINSTANCE instance, int pageId) {
    const HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(pageId), L"TEXT");
    if (found == nullptr) return {};
    const HGLOBAL loaded = ::LoadResource(instance, found);
    const auto* bytes = static_cast<const char*>(::LockResource(loaded));
    if (bytes == nullptr) return {};
    // Resources are mapped with the module and never freed; the terminator is looked for only
    // within the resource, so a page without one cannot read past its end.
    const std::size_t size = ::SizeofResource(instance, found);
    const void* terminator = std::memchr(bytes, '\0', size);
    const std::size_t length = terminator ? static_cast<const char*>(terminator) - bytes : size;
    return platform::widen(std::string(bytes, length));
}

void showHelpDialog(HINSTANCE instance, HWND owner) {
    HelpDialogData data {instance, {}};
    ::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_HELP), owner, helpProcedure,
                      reinterpret_cast<LPARAM>(&data));
}

}  // namespace dactyla::dialogs
