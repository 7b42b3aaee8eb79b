#include "dialogs/dialog_pictures.h"

#include <string>

#include "resources/resource.h"
#include "shell/dpi.h"

namespace dactyla::dialogs {
namespace {

constexpr int kIconSize = 32;  // the templates' icons are 32 x 32

// Each template icon and its images drawn larger, from which Windows takes the size asked for.
int largeIcon(int resource) {
    switch (resource) {
    case IDI_HAND_ON_KEY: return IDI_HAND_ON_KEY_LARGE;
    case IDI_OPEN_BOOK: return IDI_OPEN_BOOK_LARGE;
    case IDI_WOMAN: return IDI_WOMAN_LARGE;
    case IDI_MAN: return IDI_MAN_LARGE;
    default: return resource;
    }
}

// A picture control made from a template keeps the resource it shows as its text: 0xFFFF, id.
int pictureResource(HWND control) {
    wchar_t text[4] = {};
    if (::GetWindowTextW(control, text, 4) < 2 || text[0] != 0xFFFF) return 0;
    return text[1];
}

app::UniqueBitmap stretched(HWND control, HBITMAP source, app::Dpi dpi) {
    BITMAP size {};
    if (source == nullptr || ::GetObjectW(source, sizeof size, &size) == 0) return {};
    const int width = dpi.scale(size.bmWidth);
    const int height = dpi.scale(size.bmHeight);
    const app::WindowDc screen(control);
    app::UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
    const app::UniqueMemoryDc from(::CreateCompatibleDC(screen.get()));
    const app::UniqueMemoryDc to(::CreateCompatibleDC(screen.get()));
    if (!bitmap || !from || !to) return {};
    const app::SelectionGuard fromSelected(from.get(), source);
    const app::SelectionGuard toSelected(to.get(), bitmap.get());
    ::SetStretchBltMode(to.get(), HALFTONE);
    ::SetBrushOrgEx(to.get(), 0, 0, nullptr);
    ::StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    return bitmap;
}

}  // namespace

void DialogPictures::scale(HWND dialog, HINSTANCE instance) {
    const app::Dpi dpi = app::windowDpi(dialog);
    if (!dpi.scaled()) return;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const LONG type = ::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK;
        const int resource = pictureResource(child);
        if (resource == 0) continue;
        if (type == SS_ICON) {
            app::UniqueIcon icon(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(largeIcon(resource)), IMAGE_ICON,
                                                                 dpi.scale(kIconSize), dpi.scale(kIconSize), 0)));
            if (!icon) continue;
            ::SendMessageW(child, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.get()));
            // A control that took its size from the 32-pixel icon grows with it, from its centre.
            if ((::GetWindowLongW(child, GWL_STYLE) & SS_CENTERIMAGE) == 0) {
                RECT place {};
                ::GetWindowRect(child, &place);
                ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
                const int grown = dpi.scale(kIconSize) - (place.right - place.left);
                ::SetWindowPos(child, nullptr, place.left - grown / 2, place.top - grown / 2, dpi.scale(kIconSize),
                               dpi.scale(kIconSize), SWP_NOZORDER | SWP_NOACTIVATE);
            }
            icons_.push_back(std::move(icon));
        } else if (type == SS_BITMAP) {
            const auto source = reinterpret_cast<HBITMAP>(::SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0));
            app::UniqueBitmap bitmap = stretched(child, source, dpi);
            if (!bitmap) continue;
            ::SendMessageW(child, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get()));
            bitmaps_.push_back(std::move(bitmap));
        }
    }
}

}  // namespace dactyla::dialogs
