#include "base/whole_file.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fault_injection.h"
#include "platform/file.h"
#include "support/temp_dir.h"

namespace dactyla {
namespace {

using testing::TempDir;

TEST(WholeFile, ARewriteReplacesTheFileAndAFailureAtAnyStepLeavesTheOldOne) {
    enum class Fault { none, fullDisk, temporaryRefused };
    const struct {
        Fault fault;
        bool written;
    } cases[] = {{Fault::none, true}, {Fault::fullDisk, false}, {Fault::temporaryRefused, false}};
    for (const auto& c : cases) {
        const TempDir dir;
        dir.write("Keys.dat", "old bytes");
        bool written = false;
        {
            platform::ScopedFileFaults faults;
            if (c.fault == Fault::fullDisk) faults.failWritesAfter(3);
            if (c.fault == Fault::temporaryRefused) faults.failOpensOf("Keys.dat.new");
            written = writeWholeFileReplacing(dir.file("Keys.dat"), "new bytes, longer");
        }
        EXPECT_EQ(written, c.written) << static_cast<int>(c.fault);
        EXPECT_EQ(dir.read("Keys.dat"), c.written ? "new bytes, longer" : "old bytes") << static_cast<int>(c.fault);
        EXPECT_FALSE(platform::fileExists(dir.file("Keys.dat.new"))) << "no temporary is left behind";
    }
}

TEST(WholeFile, AMissingFileIsWrittenAndAMissingFolderRefused) {
    const TempDir dir;
    EXPECT_TRUE(writeWholeFileReplacing(dir.file("fresh.txt"), ""));
    EXPECT_TRUE(platform::fileExists(dir.file("fresh.txt")));
    EXPECT_FALSE(writeWholeFileReplacing(dir.file("no folder/fresh.txt"), "x"));
}

TEST(WholeFile, ACopyIsWholeOrNotThereAndNeverLeavesItsPart) {
    const std::string large(200 * 1024 + 7, 'x');  // more than one block, and not a multiple of it
    const struct {
        const char* name;
        bool sourceThere;
        std::uint64_t writable;  // bytes the disk takes; 0 for no limit
        bool copied;
    } cases[] = {{"whole", true, 0, true}, {"no source", false, 0, false}, {"disk full half-way", true, 100000, false}};
    for (const auto& c : cases) {
        const TempDir dir;
        if (c.sourceThere) dir.write("TextData.Rus", large);
        dir.write("copy", "what stood there");
        bool copied = false;
        {
            platform::ScopedFileFaults faults;
            if (c.writable) faults.failWritesAfter(c.writable);
            copied = copyWholeFile(dir.file("TextData.Rus"), dir.file("copy"));
        }
        EXPECT_EQ(copied, c.copied) << c.name;
        EXPECT_EQ(dir.read("copy"), c.copied ? large : "what stood there") << c.name;
        EXPECT_FALSE(platform::fileExists(dir.file("copy.part"))) << c.name;
    }
}

TEST(SetAside, DamagedFilesTakeTheFirstFreeNumberedNameAndNeverOverwriteOne) {
    const TempDir dir;
    const std::string path = dir.file("Course.dat");
    EXPECT_EQ(setAsideName(path), path + ".damaged");
    for (const char* content : {"first", "second", "third"}) {
        dir.write("Course.dat", content);
        ASSERT_TRUE(setFileAside(path)) << content;
        EXPECT_FALSE(platform::fileExists(path));
    }
    EXPECT_EQ(dir.read("Course.dat.damaged"), "first");
    EXPECT_EQ(dir.read("Course.dat.damaged2"), "second");
    EXPECT_EQ(dir.read("Course.dat.damaged3"), "third");
    EXPECT_FALSE(setFileAside(path)) << "a file that is not there cannot be set aside";
}

TEST(SetAside, WhenEveryNameIsTakenTheFileStaysWhereItIs) {
    const TempDir dir;
    dir.write("Keys.dat.damaged", "");
    for (int k = 2; k <= 99; ++k) dir.write("Keys.dat.damaged" + std::to_string(k), "");
    dir.write("Keys.dat", "damaged but kept");
    EXPECT_EQ(setAsideName(dir.file("Keys.dat")), "");
    EXPECT_FALSE(setFileAside(dir.file("Keys.dat")));
    EXPECT_EQ(dir.read("Keys.dat"), "damaged but kept");
}

}  // namespace
}  // namespace dactyla
