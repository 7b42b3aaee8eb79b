#pragma once
// A dialog's icons and bitmaps at the dialog's DPI. The dialog units grow with the DPI, the
// templates' pictures would not: above 96 DPI each is made again at its scaled size, icons from
// their images drawn larger, bitmaps stretched smoothly. At 96 DPI nothing changes.
#include <vector>

#include "platform/win32/windows_headers.h"
#include "shell/handles.h"

namespace dactyla::dialogs {

class DialogPictures {
public:
    // Call at WM_INITDIALOG; the pictures made live as long as this object, which must outlive
    // the dialog's controls.
    void scale(HWND dialog, HINSTANCE instance);

private:
    std::vector<app::UniqueIcon> icons_;
    std::vector<app::UniqueBitmap> bitmaps_;
};

}  // namespace dactyla::dialogs
