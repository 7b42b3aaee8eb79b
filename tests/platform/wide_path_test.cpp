// Files named by UTF-16 paths, which the file dialogs return; Windows only.
#ifdef _WIN32

#include "platform/win32/wide_path.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/windows_headers.h"
#include "support/temp_dir.h"

namespace dactyla::platform {
namespace {

using testing::TempDir;

TEST(WidePath, AFileNamedOutsideCp1251IsCreatedAndReadBack) {
    TempDir dir;
    const std::wstring path = widen(dir.path()) + L"\\\u0392\u03B9\u03B2\u03BB\u03AF\u03BF \u66F8.txt";
    File created = openFile(path, {.mode = OpenMode::createAlways});
    ASSERT_TRUE(created.isOpen());
    EXPECT_EQ(created.write("Greek.", 6), 6u);
    created.close();

    File read = openFile(path, {.mode = OpenMode::existing, .readOnly = true});
    ASSERT_TRUE(read.isOpen());
    std::string bytes(6, '\0');
    EXPECT_EQ(read.read(bytes.data(), bytes.size()), 6u);
    EXPECT_EQ(bytes, "Greek.");
    EXPECT_FALSE(openFile(path + L"x", {.mode = OpenMode::existing, .readOnly = true}).isOpen());
}

TEST(WidePath, SameFileUnderAnotherSpellingOrLinkButNotAnotherFile) {
    TempDir dir;
    dir.write("TextData.Eng", "A text.");
    dir.write("Other.Eng", "A text.");
    ::CreateDirectoryW((widen(dir.path()) + L"\\sub").c_str(), nullptr);
    const std::wstring base = widen(dir.path());
    const std::wstring text = base + L"\\TextData.Eng";
    // Held open for writing, as the corpus holds it.
    File held = File::open(dir.file("TextData.Eng"), {.mode = OpenMode::existing});
    ASSERT_TRUE(held.isOpen());

    EXPECT_TRUE(sameFile(base + L"\\textdata.ENG", text));
    EXPECT_TRUE(sameFile(base + L"\\sub\\..\\TextData.Eng", text));
    EXPECT_FALSE(sameFile(base + L"\\Other.Eng", text)) << "same bytes, another file";
    EXPECT_FALSE(sameFile(base + L"\\Missing.Eng", text));
    ASSERT_TRUE(::CreateHardLinkW((base + L"\\Linked.txt").c_str(), text.c_str(), nullptr));
    EXPECT_TRUE(sameFile(base + L"\\Linked.txt", text));
}

}  // namespace
}  // namespace dactyla::platform

#endif  // _WIN32
