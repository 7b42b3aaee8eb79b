#include "platform/fault_injection.h"

#include <gtest/gtest.h>

#include "platform/file.h"
#include "support/temp_dir.h"

namespace dactyla::platform {
namespace {

using testing::TempDir;

TEST(FileFaults, WritesStopAfterTheAllowanceAcrossFilesUntilTheGuardEnds) {
    TempDir dir;
    File first = File::open(dir.file("a"), {.mode = OpenMode::always});
    File second = File::open(dir.file("b"), {.mode = OpenMode::always});
    ASSERT_TRUE(first.isOpen() && second.isOpen());
    {
        ScopedFileFaults faults;
        faults.failWritesAfter(6);
        EXPECT_EQ(first.write("abcd", 4), 4u);
        EXPECT_EQ(second.write("efgh", 4), 2u) << "a part-way failure, as on a full disk";
        EXPECT_EQ(first.write("ijkl", 4), 0u);
        EXPECT_TRUE(first.truncate()) << "only writes fail";
    }
    EXPECT_EQ(first.write("mn", 2), 2u);
    first.close();
    second.close();
    EXPECT_EQ(dir.read("a"), "abcdmn");
    EXPECT_EQ(dir.read("b"), "ef");
}

TEST(FileFaults, OpensOfTheNamedFileFailWhateverItsFolder) {
    TempDir dir;
    dir.write("held.txt", "x");
    {
        ScopedFileFaults faults;
        faults.failOpensOf("held.txt");
        EXPECT_FALSE(File::open(dir.file("held.txt"), {.mode = OpenMode::existing, .readOnly = true}).isOpen());
        EXPECT_FALSE(File::open(dir.file("held.txt"), {.mode = OpenMode::createAlways}).isOpen());
        EXPECT_TRUE(File::open(dir.file("other.txt"), {.mode = OpenMode::always}).isOpen());
    }
    EXPECT_TRUE(File::open(dir.file("held.txt"), {.mode = OpenMode::existing}).isOpen());
    EXPECT_EQ(dir.read("held.txt"), "x") << "a refused create-always cuts nothing";
}

TEST(FileFaults, OnlyTheChosenCallOfEachKindFailsAndEveryCallIsCounted) {
    TempDir dir;
    dir.write("old", "o");
    ScopedFileFaults faults;
    faults.failCall(FileCall::open, 2);
    faults.failCall(FileCall::write, 2);
    faults.failCall(FileCall::flush, 1);
    faults.failCall(FileCall::replace, 1);

    File first = File::open(dir.file("a"), {.mode = OpenMode::always});
    EXPECT_FALSE(File::open(dir.file("b"), {.mode = OpenMode::always}).isOpen());
    File third = File::open(dir.file("c"), {.mode = OpenMode::always});
    ASSERT_TRUE(first.isOpen() && third.isOpen());
    EXPECT_EQ(first.write("ab", 2), 2u);
    EXPECT_EQ(first.write("cd", 2), 0u);
    EXPECT_EQ(first.write("ef", 2), 2u);
    EXPECT_FALSE(first.flush());
    EXPECT_TRUE(first.flush());
    first.close();
    EXPECT_FALSE(replaceFile(dir.file("a"), dir.file("old")));
    EXPECT_TRUE(fileExists(dir.file("a"))) << "a refused replace moves nothing";
    EXPECT_TRUE(replaceFile(dir.file("a"), dir.file("old")));

    EXPECT_EQ(faults.callsMade(FileCall::open), 3);
    EXPECT_EQ(faults.callsMade(FileCall::write), 3);
    EXPECT_EQ(faults.callsMade(FileCall::flush), 2);
    EXPECT_EQ(faults.callsMade(FileCall::replace), 2);
    EXPECT_EQ(dir.read("old"), "abef");
}

}  // namespace
}  // namespace dactyla::platform
