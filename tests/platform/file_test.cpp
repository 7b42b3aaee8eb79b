#include "platform/file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace dactyla::platform {
namespace {

using testing::TempDir;

TEST(File, OpenModesCreateKeepOrCutTheFile) {
    TempDir dir;
    const std::string path = dir.file("data.bin");
    EXPECT_FALSE(File::open(path, {.mode = OpenMode::existing}).isOpen());
    EXPECT_FALSE(fileExists(path));

    File created = File::open(path, {.mode = OpenMode::always});
    ASSERT_TRUE(created.isOpen());
    EXPECT_EQ(created.write("hello", 5), 5u);
    created.close();

    File kept = File::open(path, {.mode = OpenMode::always});
    EXPECT_EQ(kept.size(), 5u);
    kept.close();

    File cut = File::open(path, {.mode = OpenMode::createAlways});
    EXPECT_EQ(cut.size(), 0u);
}

TEST(File, SeekReadWriteAndTruncateWorkAtTheCursor) {
    TempDir dir;
    File file = File::open(dir.file("f"), {.mode = OpenMode::always});
    ASSERT_TRUE(file.isOpen());
    file.write("0123456789", 10);
    ASSERT_TRUE(file.seek(4));
    char buffer[4] = {};
    EXPECT_EQ(file.read(buffer, 3), 3u);
    EXPECT_EQ(std::string(buffer, 3), "456");
    EXPECT_EQ(file.tell(), 7u);
    EXPECT_EQ(file.read(buffer, 4), 3u) << "a read past the end returns what there was";
    ASSERT_TRUE(file.seek(6));
    EXPECT_TRUE(file.truncate());
    EXPECT_EQ(file.size(), 6u);
    file.close();
    EXPECT_EQ(dir.read("f"), "012345");
}

TEST(File, ASecondWriterIsRefusedWhileTheFirstHoldsTheFile) {
    TempDir dir;
    File first = File::open(dir.file("locked"), {.mode = OpenMode::always});
    ASSERT_TRUE(first.isOpen());
    EXPECT_FALSE(File::open(dir.file("locked"), {.mode = OpenMode::always}).isOpen());
    EXPECT_FALSE(File::open(dir.file("locked"), {.mode = OpenMode::createAlways}).isOpen());
    first.write("keep", 4);
    first.close();
    EXPECT_EQ(dir.read("locked"), "keep") << "a refused create-always must not cut the file";
    EXPECT_TRUE(File::open(dir.file("locked"), {.mode = OpenMode::existing}).isOpen());
}

TEST(File, AReaderBesideTheWriterOpensWhereAPlainReaderIsRefused) {
    TempDir dir;
    dir.write("held", "text");
    File writer = File::open(dir.file("held"), {.mode = OpenMode::existing});
    ASSERT_TRUE(writer.isOpen());
    EXPECT_FALSE(File::open(dir.file("held"), {.readOnly = true}).isOpen());
    File reader = File::open(dir.file("held"), {.readOnly = true, .besideWriter = true});
    ASSERT_TRUE(reader.isOpen());
    char bytes[4] = {};
    EXPECT_EQ(reader.read(bytes, 4), 4u);
    EXPECT_EQ(std::string(bytes, 4), "text");
}

TEST(File, DeleteOnCloseRemovesTheFile) {
    TempDir dir;
    {
        File temporary = File::open(dir.file("work.tmp"), {.mode = OpenMode::createAlways, .deleteOnClose = true});
        ASSERT_TRUE(temporary.isOpen());
        EXPECT_TRUE(fileExists(dir.file("work.tmp")));
    }
    EXPECT_FALSE(fileExists(dir.file("work.tmp")));
}

TEST(File, AClosedFileFailsQuietly) {
    File closed;
    char byte = 0;
    EXPECT_FALSE(closed.isOpen());
    EXPECT_EQ(closed.read(&byte, 1), 0u);
    EXPECT_EQ(closed.write(&byte, 1), 0u);
    EXPECT_FALSE(closed.seek(0));
    EXPECT_FALSE(closed.size());
    EXPECT_FALSE(closed.truncate());
}

TEST(File, ReplaceFileSwapsContentAndRussianNamesWork) {
    TempDir dir;
    dir.write("\xD1\xF2\xE0\xF0\xFB\xE9.txt", "old");
    dir.write("new.tmp", "new");
    EXPECT_TRUE(replaceFile(dir.file("new.tmp"), dir.file("\xD1\xF2\xE0\xF0\xFB\xE9.txt")));
    EXPECT_EQ(dir.read("\xD1\xF2\xE0\xF0\xFB\xE9.txt"), "new");
    EXPECT_FALSE(fileExists(dir.file("new.tmp")));
    EXPECT_TRUE(deleteFile(dir.file("\xD1\xF2\xE0\xF0\xFB\xE9.txt")));
}

}  // namespace
}  // namespace dactyla::platform
