#include "dialogs/import_dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <array>
#include <optional>

#include "dialogs/dialog_pictures.h"
#include "dialogs/dialog_support.h"
#include "dialogs/dialog_texts.h"
#include "editors/import_editor.h"
#include "platform/system.h"
#include "platform/win32/wide_path.h"
#include "resources/resource.h"
#include "texts/interface_texts.h"

namespace dactyla::dialogs {
namespace {

using namespace importControl;

static_assert(IDCANCEL == kClose);

constexpr DWORD kTextFilter = 2;
// Long enough for the digits the field takes and more, so a longer text is seen.
constexpr int kLongestFieldRead = 16;

// Pairs of description and pattern, each NUL-terminated, and one NUL more at the end.
std::wstring fileFilters() {
    std::wstring filters;
    for (const std::wstring& part : {platform::widen(texts::textC("import.allFiles")), std::wstring(L"*.*"), platform::widen(texts::textC("import.textFiles")),
                                     std::wstring(L"*.txt")}) {
        filters += part;
        filters += L'\0';
    }
    return filters;
}

std::wstring currentDirectory() {
    std::wstring directory(::GetCurrentDirectoryW(0, nullptr), L'\0');
    directory.resize(::GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), directory.data()));
    return directory;
}

// The module path up to its last backslash, in UTF-16: the folder may have any name.
std::wstring moduleDirectory() {
    std::array<wchar_t, 32768> path {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    const std::wstring full(path.data(), length);
    const std::size_t cut = full.rfind(L'\\');
    return cut == std::wstring::npos ? full : full.substr(0, cut);
}

class ImportDialog final : public ImportHost, public ImportView {
public:
    ImportDialog(HINSTANCE instance, ImportRequest& request) : instance_(instance), request_(request) {}

    INT_PTR onInit(HWND dialog) {
        dialog_ = dialog;
        font_ = useCyrillicFont(dialog_);
        translateDialog(dialog_, IDD_IMPORT);
        pictures_.scale(dialog_, instance_);
        ::SendDlgItemMessageW(dialog_, kCapitalRun, EM_SETLIMITTEXT, kCapitalRunDigits, 0);
        editor_.emplace(request_.live, request_.editor.workingOptions(), *this, *this,
                        platform::temporaryDirectory());
        editor_->init();
        return TRUE;  // the dialog manager sets the focus
    }

    void onCommand(int id) { editor_->command(id); }

    // ImportHost
    void applyTextOptions() override { request_.editor.applyTextOptions(); }
    SentenceCorpus* corpus() override { return request_.corpus(); }

    // ImportView
    void setText(int id, const std::string& text) override {
        ::SetDlgItemTextW(dialog_, id, platform::widen(text).c_str());
    }
    std::string text(int id) override { return platform::narrow(controlText(dialog_, id, kLongestFieldRead)); }
    void enableControl(int id, bool enabled) override { ::EnableWindow(::GetDlgItem(dialog_, id), enabled); }
    void setDefaultButton(int id) override { ::SendMessageW(dialog_, DM_SETDEFID, id, 0); }
    void focusControl(int id) override {
        ::SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(dialog_, id)), TRUE);
    }
    // The scan runs inside the button's handler, so the bar is painted now, not when the
    // message loop next runs.
    void setProgress(int percent) override {
        const HWND bar = ::GetDlgItem(dialog_, kProgress);
        ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
        ::UpdateWindow(bar);
    }
    // Without a request to keep the current directory, the next choice starts in the folder of
    // this one. The file is opened by its UTF-16 name, which need not fit CP1251.
    std::optional<ChosenFile> chooseFile() override {
        const std::wstring filters = fileFilters();
        const std::wstring title = platform::widen(texts::textC("import.fileDialogTitle"));
        const std::wstring start = importStartDirectory(currentDirectory(), moduleDirectory());
        std::array<wchar_t, MAX_PATH> name {};
        OPENFILENAMEW dialog {};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = dialog_;
        dialog.lpstrFilter = filters.c_str();
        dialog.nFilterIndex = kTextFilter;
        dialog.lpstrFile = name.data();
        dialog.nMaxFile = static_cast<DWORD>(name.size());
        dialog.lpstrInitialDir = start.c_str();
        dialog.lpstrTitle = title.c_str();
        dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
        if (!::GetOpenFileNameW(&dialog)) return std::nullopt;
        chosenPath_ = name.data();
        ChosenFile chosen;
        chosen.corpusText = platform::sameFile(chosenPath_, platform::widen(request_.corpusTextPath()));
        if (!chosen.corpusText) {
            chosen.file = platform::openFile(chosenPath_, {.mode = platform::OpenMode::existing,
                                                           .hint = platform::AccessHint::sequential,
                                                           .readOnly = true});
        }
        return chosen;
    }
    void showChosenPath() override { ::SetDlgItemTextW(dialog_, kPath, chosenPath_.c_str()); }
    void clearPath() override { ::SetDlgItemTextW(dialog_, kPath, L""); }
    void showError(const std::string& text) override {
        ::MessageBoxW(dialog_, platform::widen(text).c_str(), platform::widen(importFailureTitle()).c_str(),
                      MB_ICONERROR | MB_OK);
    }
    void closeDialog() override { ::EndDialog(dialog_, 0); }

private:
    HINSTANCE instance_;
    ImportRequest& request_;
    HWND dialog_ = nullptr;
    app::UniqueFont font_;
    DialogPictures pictures_;
    std::wstring chosenPath_;
    std::optional<ImportEditor> editor_;
};

INT_PTR CALLBACK importProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    ImportDialog* data = dialogData<ImportDialog>(dialog, message, lParam);
    if (data == nullptr) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        return data->onInit(dialog);
    case WM_COMMAND:
        data->onCommand(LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

void showImportDialog(HINSTANCE instance, HWND owner, ImportRequest& request) {
    ImportDialog dialog(instance, request);
    ::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_IMPORT), owner, importProcedure,
                      reinterpret_cast<LPARAM>(&dialog));
}

}  // namespace dactyla::dialogs
