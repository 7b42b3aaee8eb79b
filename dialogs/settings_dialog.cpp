#include "dialogs/settings_dialog.h"

#include <commctrl.h>

#include <array>
#include <optional>
#include <string>

#include "dialogs/dialog_pictures.h"
#include "dialogs/dialog_support.h"
#include "dialogs/dialog_texts.h"
#include "resources/resource.h"
#include "texts/interface_texts.h"

namespace dactyla::dialogs {
namespace {

using namespace settingsControl;

static_assert(IDOK == kOk && IDCANCEL == kCancel);

// "Общие", "Текст"
const std::array<const char*, 2> kTabTitles = {"settings.tab.general", "settings.tab.text"};
const std::array<int, 2> kPageTemplates = {IDD_SETTINGS_GENERAL, IDD_SETTINGS_TEXT};
// Enough to tell a long text of digits from a short one; the edits take 2 or 3.
constexpr int kLongestFieldRead = 16;

INT_PTR CALLBACK pageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// The frame's state for its lifetime; performs what the editor decides on the real controls.
class SettingsFrame final : public SettingsView {
public:
    SettingsFrame(HINSTANCE instance, SettingsRequest& request) : instance_(instance), request_(request) {}

    INT_PTR onInit(HWND frame) {
        frame_ = frame;
        font_ = useCyrillicFont(frame_);
        translateDialog(frame_, IDD_SETTINGS);
        tabs_ = ::GetDlgItem(frame_, kTabs);
        for (std::size_t i = 0; i < kTabTitles.size(); ++i) {
            std::wstring title = uiText(kTabTitles[i]);
            TCITEMW item {};
            item.mask = TCIF_TEXT;
            item.pszText = title.data();
            ::SendMessageW(tabs_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
        for (std::size_t i = 0; i < kPageTemplates.size(); ++i) templates_[i] = loadTemplate(kPageTemplates[i]);
        origin_ = pageOrigin(frame_, tabs_);
        editor_.emplace(request_.live, request_.settingsTab, request_.host, *this);
        if (request_.settingsTab >= kTabTitles.size()) request_.settingsTab = kGeneralPage;
        ::SendMessageW(tabs_, TCM_SETCURSEL, request_.settingsTab, 0);
        showPage();
        ::SetFocus(tabs_);
        return FALSE;  // the focus is set
    }

    void onDestroy() { editor_.reset(); }

    // The old page's edits are kept before it goes. A page that cannot be created leaves the
    // frame without one; OK and Apply still take what the other page and the clicks changed.
    void showPage() {
        if (page_ != nullptr) {
            editor_->leavePage();
            ::DestroyWindow(page_);
            page_ = nullptr;
        }
        const auto selected = static_cast<unsigned>(::SendMessageW(tabs_, TCM_GETCURSEL, 0, 0));
        editor_->selectPage(selected);
        if (selected < templates_.size() && templates_[selected] != nullptr) {
            pageTemplate_ = kPageTemplates[selected];
            ::CreateDialogIndirectParamW(instance_, templates_[selected], frame_, pageProcedure,
                                         reinterpret_cast<LPARAM>(this));
        }
    }

    // Before the fill: in front of the tab control, so the page paints over its display area and
    // takes the clicks there; the focus stays where the frame put it.
    INT_PTR onPageInit(HWND page) {
        page_ = page;
        pageFont_ = useCyrillicFont(page_);
        translateDialog(page_, pageTemplate_);
        pagePictures_ = {};
        pagePictures_.scale(page_, instance_);
        ::SetWindowPos(page_, HWND_TOP, origin_.x, origin_.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        editor_->initPage();
        return FALSE;
    }

    void onPageCommand(int id, unsigned notification) {
        if (notification == BN_CLICKED) editor_->pageCommand(id, PageEvent::clicked);
        else if (notification == EN_CHANGE) editor_->pageCommand(id, PageEvent::editChanged);
    }

    void onFrameCommand(int id) { editor_->frameCommand(id); }

    // SettingsView
    void checkButton(int id, bool checked) override {
        ::CheckDlgButton(page_, id, checked ? BST_CHECKED : BST_UNCHECKED);
    }
    bool isChecked(int id) override { return ::IsDlgButtonChecked(page_, id) == BST_CHECKED; }
    void checkRadio(int first, int last, int checked) override { ::CheckRadioButton(page_, first, last, checked); }
    void enableControl(int id, bool enabled) override { ::EnableWindow(::GetDlgItem(page_, id), enabled); }
    void setReadOnly(int id, bool readOnly) override {
        ::SendDlgItemMessageW(page_, id, EM_SETREADONLY, readOnly, 0);
    }
    void limitText(int id, unsigned characters) override {
        ::SendDlgItemMessageW(page_, id, EM_SETLIMITTEXT, characters, 0);
    }
    void setText(int id, const std::string& text) override {
        ::SetDlgItemTextW(page_, id, platform::widen(text).c_str());
    }
    std::optional<std::string> editText(int id) override {
        if (page_ == nullptr || ::GetDlgItem(page_, id) == nullptr) return std::nullopt;
        return platform::narrow(controlText(page_, id, kLongestFieldRead));
    }
    bool applyEnabled() override { return ::IsWindowEnabled(::GetDlgItem(frame_, kApply)) != FALSE; }
    void enableApply(bool enabled) override { ::EnableWindow(::GetDlgItem(frame_, kApply), enabled); }
    void setDefaultButton(int id) override { ::SendMessageW(frame_, DM_SETDEFID, id, 0); }
    void focusControl(int id) override {
        HWND control = ::GetDlgItem(frame_, id);
        if (control == nullptr && page_ != nullptr) control = ::GetDlgItem(page_, id);
        if (control != nullptr) ::SendMessageW(frame_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    }
    void closeDialog() override { ::EndDialog(frame_, 0); }
    void showLanguageLocked() override {
        std::array<wchar_t, 256> text {};
        if (texts::speaksOwnLanguage())
            ::LoadStringW(instance_, IDS_LANGUAGE_LOCKED, text.data(), static_cast<int>(text.size()));
        else
            ::lstrcpynW(text.data(), uiText("string.5").c_str(), static_cast<int>(text.size()));
        ::MessageBoxW(frame_, text.data(), uiText("bummer").c_str(), MB_ICONERROR | MB_OK);
    }
    void runImportDialog() override {
        if (request_.runImport) request_.runImport(page_, *editor_);
    }

private:
    const DLGTEMPLATE* loadTemplate(int id) const {
        const HRSRC found = ::FindResourceW(instance_, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));  // RT_DIALOG
        if (found == nullptr) return nullptr;
        const HGLOBAL loaded = ::LoadResource(instance_, found);
        return loaded != nullptr ? static_cast<const DLGTEMPLATE*>(::LockResource(loaded)) : nullptr;
    }

    HINSTANCE instance_;
    SettingsRequest& request_;
    HWND frame_ = nullptr;
    HWND tabs_ = nullptr;
    HWND page_ = nullptr;
    POINT origin_ {};
    std::array<const DLGTEMPLATE*, 2> templates_ {};
    int pageTemplate_ = 0;  // of the page being made, for its texts
    app::UniqueFont font_;
    app::UniqueFont pageFont_;
    DialogPictures pagePictures_;
    std::optional<SettingsEditor> editor_;
};

INT_PTR CALLBACK pageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    SettingsFrame* frame = dialogData<SettingsFrame>(page, message, lParam);
    if (frame == nullptr) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        return frame->onPageInit(page);
    case WM_COMMAND:
        // The frame's buttons answer Enter and Esc wherever the focus is.
        if (LOWORD(wParam) == kOk || LOWORD(wParam) == kCancel) frame->onFrameCommand(LOWORD(wParam));
        else frame->onPageCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK frameProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    SettingsFrame* frame = dialogData<SettingsFrame>(dialog, message, lParam);
    if (frame == nullptr) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        return frame->onInit(dialog);
    case WM_NOTIFY:
        // Every notification is answered as handled; only a new tab selection does anything.
        if (reinterpret_cast<const NMHDR*>(lParam)->idFrom == kTabs &&
            reinterpret_cast<const NMHDR*>(lParam)->code == TCN_SELCHANGE) {
            frame->showPage();
        }
        ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
        return TRUE;
    case WM_COMMAND:
        frame->onFrameCommand(LOWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        frame->onDestroy();
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

POINT pageOrigin(HWND frame, HWND tabs) {
    RECT area {};
    ::GetWindowRect(tabs, &area);
    ::MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&area), 2);
    ::SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return {area.left, area.top};
}

void showSettingsDialog(HINSTANCE instance, HWND owner, SettingsRequest& request) {
    SettingsFrame frame(instance, request);
    ::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), owner, frameProcedure,
                      reinterpret_cast<LPARAM>(&frame));
}

}  // namespace dactyla::dialogs
