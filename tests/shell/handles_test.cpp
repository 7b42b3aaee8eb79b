#include "shell/handles.h"

#include <gtest/gtest.h>

#include <vector>

namespace dactyla::app {
namespace {

// GetObjectType answers 0 once a GDI object has been deleted.
bool gdiObjectAlive(HGDIOBJ object) { return ::GetObjectType(object) != 0; }

HFONT makeFont() {
    return ::CreateFontW(20, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                         L"Courier New");
}

TEST(UniqueHandle, DeletesItsObjectExactlyWhenItsOwnerEnds) {
    HFONT raw = makeFont();
    ASSERT_TRUE(gdiObjectAlive(raw));
    {
        UniqueFont font(raw);
        EXPECT_TRUE(font);
        EXPECT_EQ(font.get(), raw);
    }
    EXPECT_FALSE(gdiObjectAlive(raw));
}

TEST(UniqueHandle, MovingHandsOwnershipOverWithoutDeleting) {
    HBRUSH raw = ::CreateSolidBrush(RGB(1, 2, 3));
    UniqueBrush first(raw);
    UniqueBrush second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), raw);
    EXPECT_TRUE(gdiObjectAlive(raw));

    UniqueBrush third;
    third = std::move(second);
    EXPECT_FALSE(second);
    EXPECT_TRUE(gdiObjectAlive(raw));
    third.reset();
    EXPECT_FALSE(gdiObjectAlive(raw));
}

TEST(UniqueHandle, AssigningOverAnOwnerDeletesTheObjectItHeld) {
    HBRUSH oldRaw = ::CreateSolidBrush(RGB(1, 1, 1));
    HBRUSH newRaw = ::CreateSolidBrush(RGB(2, 2, 2));
    UniqueBrush holder(oldRaw);
    holder = UniqueBrush(newRaw);
    EXPECT_FALSE(gdiObjectAlive(oldRaw));
    EXPECT_TRUE(gdiObjectAlive(newRaw));
}

TEST(UniqueHandle, ReleaseGivesTheObjectUpAndSelfMoveKeepsIt) {
    HBITMAP raw = ::CreateBitmap(4, 4, 1, 32, nullptr);
    UniqueBitmap bitmap(raw);
    UniqueBitmap& alias = bitmap;
    bitmap = std::move(alias);
    EXPECT_TRUE(gdiObjectAlive(raw));
    EXPECT_EQ(bitmap.release(), raw);
    EXPECT_FALSE(bitmap);
    EXPECT_TRUE(gdiObjectAlive(raw));
    ::DeleteObject(raw);
}

TEST(UniqueHandle, KernelHandlesAreClosed) {
    HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    DWORD flags = 0;
    {
        UniqueKernelHandle owner(event);
        EXPECT_TRUE(::GetHandleInformation(owner.get(), &flags));
    }
    EXPECT_FALSE(::GetHandleInformation(event, &flags));
}

TEST(SelectionGuard, PutsBackTheObjectItReplacedSoTheOwnedOneCanBeDeleted) {
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    HGDIOBJ original = ::GetCurrentObject(dc.get(), OBJ_FONT);
    UniqueFont font(makeFont());
    {
        SelectionGuard guard(dc.get(), font.get());
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_FONT), font.get());
        {
            UniqueBrush brush(::CreateSolidBrush(RGB(9, 9, 9)));
            SelectionGuard brushGuard(dc.get(), brush.get());
            EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BRUSH), brush.get());
        }
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_FONT), font.get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_FONT), original);
}

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override { ::DestroyWindow(window_); }
    HWND window_ = nullptr;
};

// A released common context goes back to the system's cache, and the next request for the
// same window gets it again; a context still held makes the system hand out another one.
TEST_F(WindowFixture, WindowDcReleasesItsContextOnceWhenItsLastOwnerEnds) {
    HDC first = nullptr;
    {
        WindowDc dc(window_);
        ASSERT_TRUE(dc);
        EXPECT_EQ(::WindowFromDC(dc.get()), window_);
        first = dc.get();
    }
    WindowDc again(window_);
    EXPECT_EQ(again.get(), first);

    WindowDc moved(std::move(again));
    EXPECT_FALSE(again);
    {
        WindowDc meanwhile(window_);
        EXPECT_NE(meanwhile.get(), moved.get()) << "the moved-from owner released the context";
    }
}

}  // namespace
}  // namespace dactyla::app
