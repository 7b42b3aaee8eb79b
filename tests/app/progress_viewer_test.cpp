#include "app/progress_viewer.h"

#include <gtest/gtest.h>

namespace dactyla::app {
namespace {

TEST(ProgressViewer, LogPathReachesTheEditorQuotedWithItsSpaces) {
    // "C:\Dactyla\Users\Анна\Results - Rus.txt"
    EXPECT_EQ(progressCommandLine("C:\\Dactyla\\Users\\\xC0\xED\xED\xE0\\Results - Rus.txt"),
              L"notepad.exe \"C:\\Dactyla\\Users\\\u0410\u043D\u043D\u0430\\Results - Rus.txt\"");
}

TEST(ProgressViewer, WindowIsFortyFixedCharactersWideAndAlmostTheScreenHigh) {
    const HWND owner = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                         ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    const SIZE size = progressWindowSize(owner);
    const HDC dc = ::GetDC(owner);
    const HGDIOBJ previous = ::SelectObject(dc, ::GetStockObject(SYSTEM_FIXED_FONT));
    TEXTMETRICW metrics {};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, previous);
    ::ReleaseDC(owner, dc);
    ::DestroyWindow(owner);
    const int frame = ::GetSystemMetrics(SM_CXEDGE) + 3 * ::GetSystemMetrics(SM_CXFRAME) +
                      ::GetSystemMetrics(SM_CXBORDER) + ::GetSystemMetrics(SM_CXDLGFRAME) +
                      ::GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(size.cx, 40 * metrics.tmAveCharWidth + frame);
    EXPECT_EQ(size.cy, ::GetSystemMetrics(SM_CYSCREEN) - 27);
}

}  // namespace
}  // namespace dactyla::app
