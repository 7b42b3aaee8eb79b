#include "dialogs/new_user_dialog.h"

#include "dialogs/dialog_support.h"
#include "dialogs/dialog_texts.h"
#include "dialogs/help_dialog.h"
#include "resources/resource.h"

namespace dactyla::dialogs {
namespace {

struct NewUserDialogData {
    HINSTANCE instance;
    NewUserRequest& request;
    app::UniqueFont font;
};

INT_PTR onInit(HWND dialog, NewUserDialogData& data) {
    data.font = useCyrillicFont(dialog);
    translateDialog(dialog, IDD_NEW_USER);
    if (!data.request.userExists) ::SetDlgItemTextW(dialog, IDCANCEL, uiText("newUser.exit").c_str());
    ::SendDlgItemMessageW(dialog, IDC_NEW_USER_NAME, EM_SETLIMITTEXT, kMaxUserNameLength, 0);
    ::SetDlgItemTextW(dialog, IDC_NEW_USER_NAME, L"New Typist");
    selectAllAndFocus(dialog, IDC_NEW_USER_NAME);
    return FALSE;  // the focus is set
}

void onCreate(HWND dialog, NewUserDialogData& data) {
    const std::string name = platform::narrow(controlText(dialog, IDC_NEW_USER_NAME, kMaxUserNameLength));
    // An empty name is refused silently; the registry shows its own refusals.
    if (name.empty() || !data.request.createUser || !data.request.createUser(name)) {
        selectAllAndFocus(dialog, IDC_NEW_USER_NAME);
        return;
    }
    data.request.created = true;
    showHelpDialog(data.instance, dialog);
    ::EndDialog(dialog, 0);
}

INT_PTR CALLBACK newUserProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    NewUserDialogData* data = dialogData<NewUserDialogData>(dialog, message, lParam);
    if (data == nullptr) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        return onInit(dialog, *data);
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            onCreate(dialog, *data);
            return TRUE;
        case IDCANCEL:
            ::EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

}  // namespace

bool showNewUserDialog(HINSTANCE instance, HWND owner, NewUserRequest& request) {
    request.created = false;
    NewUserDialogData data {instance, request, {}};
    ::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_NEW_USER), owner, newUserProcedure,
                      reinterpret_cast<LPARAM>(&data));
    return request.created;
}

}  // namespace dactyla::dialogs
