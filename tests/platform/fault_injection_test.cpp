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

}  // namespace
}  // namespace dactyla::platform
