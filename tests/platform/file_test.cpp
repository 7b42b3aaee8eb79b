#include "platform/file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string_view>

#include "platform/large_buffer.h"
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

// A file's start with zeros after it, read or mapped: at page and large-page edges, cut short
// by a limit (the zeros then lie over the file's own bytes), and written to without the file
// changing, whether the file was opened to read only or, as the corpus holds its text, to write.
TEST(LargeBuffer, OfFileStartHoldsTheBytesThenZerosAndLeavesTheFileAlone) {
    constexpr std::size_t kZeros = 64;
    constexpr std::size_t kLarge = std::size_t {2} << 20;
    struct Case {
        std::size_t size;
        std::size_t count;
    };
    const Case cases[] = {
        {0, 100},          {1, 100},           {4095, 4095},           {4096, 4096},          {4096, 4000},
        {kLarge - 1, kLarge}, {kLarge, kLarge}, {kLarge + 1, kLarge + 1}, {kLarge + 4096 - kZeros, kLarge * 2},
        {kLarge + 4096 - kZeros + 1, kLarge * 2}, {kLarge + 4096, kLarge + 4096}, {kLarge * 2, kLarge + 10},
        {kLarge * 2, kLarge * 2 - 1},
    };
    TempDir dir;
    std::mt19937 random(19);
    for (const Case& c : cases) {
        for (const bool readOnly : {true, false}) {
            std::string bytes(c.size, '\0');
            for (char& byte : bytes) byte = static_cast<char>(1 + random() % 255);
            dir.write("start.txt", bytes);
            File file = File::open(dir.file("start.txt"), {.mode = OpenMode::existing, .readOnly = readOnly});
            auto buffer = LargeBuffer::ofFileStart(file, c.count, kZeros);
            ASSERT_TRUE(buffer.has_value()) << c.size;
            const std::size_t taken = std::min(c.size, c.count);
            ASSERT_EQ(buffer->size(), taken + kZeros) << c.size << " " << c.count;
            EXPECT_TRUE(std::string_view(reinterpret_cast<const char*>(buffer->data()), taken) ==
                        std::string_view(bytes).substr(0, taken))
                << c.size << " " << c.count;
            EXPECT_TRUE(std::all_of(buffer->data() + taken, buffer->data() + taken + kZeros, [](auto b) { return b == 0; }))
                << c.size << " " << c.count;
            EXPECT_EQ(file.tell(), taken);
            std::fill_n(buffer->data(), buffer->size(), std::uint8_t {'x'});
            buffer.reset();
            file.close();
            EXPECT_EQ(dir.read("start.txt"), bytes) << "writing to the buffer must not reach the file, " << c.size;
        }
    }
    File closed;
    EXPECT_FALSE(LargeBuffer::ofFileStart(closed, 10, kZeros).has_value());
}

}  // namespace
}  // namespace dactyla::platform
