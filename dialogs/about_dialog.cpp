#include "dialogs/about_dialog.h"

#include "dactyla_version.h"
#include "dialogs/dialog_pictures.h"
#include "dialogs/dialog_support.h"
#include "dialogs/dialog_texts.h"
#include "resources/resource.h"
#include "texts/interface_texts.h"

namespace dactyla::dialogs {
namespace {

std::string twoDigits(std::uint64_t value) {
    return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

struct AboutDialogData {
    HINSTANCE instance;
    const AboutTotals& totals;
    DataPlace place;
    app::UniqueFont font;
    DialogPictures pictures;
};

// The description has no id: it is the control after the button. Its words after the release
// date are ours to choose.
void showRelease(HWND dialog, DataPlace place) {
    const HWND description = ::GetWindow(::GetDlgItem(dialog, IDOK), GW_HWNDNEXT);
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(description)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(description, text.data(), static_cast<int>(text.size()))));
    const std::size_t date = text.rfind(L"15.04.2000");
    if (date == std::wstring::npos) return;
    text.resize(date + 10);
    ::SetWindowTextW(description, (text + platform::widen(aboutReleaseText(place))).c_str());
}

INT_PTR CALLBACK aboutProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    AboutDialogData* data = dialogData<AboutDialogData>(dialog, message, lParam);
    if (data == nullptr) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        data->font = useCyrillicFont(dialog);
        translateDialog(dialog, IDD_ABOUT);
        data->pictures.scale(dialog, data->instance);
        showRelease(dialog, data->place);
        if (data->totals.userExists) {
            ::SetDlgItemTextW(dialog, IDC_ABOUT_TOTALS,
                              platform::widen(aboutTotalsText(data->totals)).c_str());
        }
        return TRUE;  // the default focus: the button
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

std::string aboutTotalsText(const AboutTotals& totals) {
    // 64-bit sums: the display must not wrap even where the stored 32-bit totals are near full.
    const std::uint64_t characters = std::uint64_t {totals.storedCharacters} + totals.sessionCharacters;
    const std::uint64_t seconds =
        std::uint64_t {totals.storedSeconds} + totals.sessionSeconds + totals.sessionMinutes * 60u;
    // "<characters> символов\n за <hours>:<mm>:<ss>"
    return std::to_string(characters) + texts::textString("about.characters") +
           std::to_string(seconds / 3600) + ":" + twoDigits(seconds % 3600 / 60) + ":" +
           twoDigits(seconds % 60);
}

std::string aboutReleaseText(DataPlace place) {
    // ", версия <version>" and, for the profile, ", данные в профиле"
    std::string text = texts::textString("about.version") + kVersion;
    if (place == DataPlace::userProfile) text += texts::text("about.inProfile");
    return text;
}

void showAboutDialog(HINSTANCE instance, HWND owner, const AboutTotals& totals, DataPlace place) {
    AboutDialogData data {instance, totals, place, {}, {}};
    ::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUT), owner, aboutProcedure,
                      reinterpret_cast<LPARAM>(&data));
}

}  // namespace dactyla::dialogs
