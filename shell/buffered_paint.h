#pragma once
// One WM_PAINT drawn off screen and put on in one blit, so a window redrawn whole never flickers.
#include "platform/win32/windows_headers.h"
#include "shell/handles.h"

namespace dactyla::app {

// `draw(HDC, const RECT& client)` paints the whole client area; it paints straight onto the
// screen when there is no memory for the off-screen picture.
template <class Draw>
void paintBuffered(HWND window, Draw&& draw) {
    const PaintDc paint(window);
    RECT client {};
    ::GetClientRect(window, &client);
    const UniqueMemoryDc memory(::CreateCompatibleDC(paint.get()));
    const UniqueBitmap bitmap(::CreateCompatibleBitmap(paint.get(), client.right, client.bottom));
    if (!memory || !bitmap) {
        draw(paint.get(), client);
        return;
    }
    const SelectionGuard selected(memory.get(), bitmap.get());
    draw(memory.get(), client);
    ::BitBlt(paint.get(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

}  // namespace dactyla::app
