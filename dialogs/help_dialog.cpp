#include "dialogs/help_dialog.h"

#include <cstring>
#include <utility>

#include "dialogs/dialog_support.h"
#include "dialogs/dialog_texts.h"
#include "resources/resource.h"
#include "texts/interface_texts.h"

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

// The Russian page has its subheading at a known place; another language's is found by its text.
std::pair<int, int> subheading(const std::wstring& page) {
    if (texts::speaksOwnLanguage()) return {kSubheadingStart, kSubheadingEnd};
    const std::wstring wanted = uiText("help.subheading");
    const std::size_t found = wanted.empty() ? std::wstring::npos : page.find(wanted);
    if (found == std::wstring::npos) return {0, 0};
    return {static_cast<int>(found), static_cast<int>(found + wanted.size())};
}

INT_PTR onInit(HWND dialog, HelpDialogData& data) {
    data.font = useCyrillicFont(dialog);
    translateDialog(dialog, IDD_HELP);
    translateMenu(::GetMenu(dialog), IDM_HELP_MENU);
    ::DrawMenuBar(dialog);
    const std::wstring page = loadHelpPage(data.instance, IDR_HELP_PAGE_MAIN);
    ::SetDlgItemTextW(dialog, IDC_HELP_TEXT, page.c_str());
    const HWND text = ::GetDlgItem(dialog, IDC_HELP_TEXT);
    SCROLLINFO scroll {};
    scroll.cbSize = sizeof(scroll);
    scroll.fMask = SIF_PAGE;
    scroll.nPage = kScrollPageLines;
    ::SetScrollInfo(text, SB_VERT, &scroll, FALSE);
    const auto [start, end] = subheading(page);
    ::SendMessageW(text, EM_SETSEL, start, end);
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
    // By language: with pages in two languages a plain search would follow the thread's.
    const auto language = static_cast<WORD>(texts::currentLanguage().windowsLanguage);
    HRSRC found = ::FindResourceExW(instance, L"TEXT", MAKEINTRESOURCEW(pageId), language);
    if (found == nullptr) {
        const auto own = static_cast<WORD>(texts::ownLanguage().windowsLanguage);
        found = ::FindResourceExW(instance, L"TEXT", MAKEINTRESOURCEW(pageId), own);
    }
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
