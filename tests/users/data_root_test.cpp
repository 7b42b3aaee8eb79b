#include "users/data_root.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/directory.h"
#include "platform/file.h"
#include "support/temp_dir.h"

#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/cp1251.h"
#endif

namespace dactyla {
namespace {

using testing::TempDir;

const std::string kRus = "\xC5\xF1\xEB\xE8 \xE4\xEE\xEB\xE3\xEE \xE6\xE8\xF2\xFC.\r\n";  // "Если долго жить."
const std::string kEng = "Keep typing.\r\n";

// The real file system, except that the folders named read-only cannot be written or made and
// copies fail like on a full disk when asked to.
class RefusingFiles final : public DataRootFiles {
public:
    bool fileExists(const std::string& path) override { return system().fileExists(path); }
    bool makeDirectory(const std::string& directory) override {
        return !readOnly.contains(directory) && system().makeDirectory(directory);
    }
    bool canWrite(const std::string& directory) override {
        return !readOnly.contains(directory) && system().canWrite(directory);
    }
    bool copyFile(const std::string& source, const std::string& target) override {
        ++copies;
        return !diskFull && system().copyFile(source, target);
    }

    std::set<std::string> readOnly;
    bool diskFull = false;
    int copies = 0;

private:
    static DataRootFiles& system() { return systemDataRootFiles(); }
};

class DataRootTest : public ::testing::Test {
protected:
    DataRootTest() {
        platform::createDirectory(programDirectory);
        platform::createDirectory(localAppData);
        temp.write("program/TextData.Rus", kRus);
    }
    void write(const std::string& name, const std::string& content) const { temp.write(name, content); }

    TempDir temp;
    const std::string programDirectory = temp.file("program");
    const std::string localAppData = temp.file("local");
    const std::string profile = platform::joinPath(localAppData, "Dactyla");
};

TEST_F(DataRootTest, ThePlaceFollowsTheMarkAndWhatCanBeWritten) {
    struct Case {
        const char* name;
        bool installed;
        bool programReadOnly;
        bool localReadOnly;  // the application-data folder: Dactyla cannot be made there
        bool noLocalAppData;
        DataPlace place;
        bool inProgram;  // else in the profile
        bool writable;
    };
    const Case cases[] = {
        {"portable", false, false, false, false, DataPlace::programFolder, true, true},
        {"read-only folder", false, true, false, false, DataPlace::userProfile, false, true},
        {"installed, folder writable", true, false, false, false, DataPlace::userProfile, false, true},
        {"installed, read-only", true, true, false, false, DataPlace::userProfile, false, true},
        {"nowhere to write", false, true, true, false, DataPlace::userProfile, false, false},
        {"installed, profile read-only", true, false, true, false, DataPlace::userProfile, false, false},
        {"no profile folder at all", false, true, false, true, DataPlace::programFolder, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir fresh;
        const std::string program = fresh.file("program");
        const std::string local = fresh.file("local");
        platform::createDirectory(program);
        platform::createDirectory(local);
        if (c.installed) fresh.write("program/installed.mark", "by the installer\r\n");
        RefusingFiles files;
        if (c.programReadOnly) files.readOnly.insert(program);
        if (c.localReadOnly) files.readOnly.insert(platform::joinPath(local, "Dactyla"));

        const DataRoot located = locateDataRoot(program, c.noLocalAppData ? "" : local, files);
        EXPECT_FALSE(platform::directoryExists(platform::joinPath(local, "Dactyla"))) << "locating makes nothing";
        const DataRoot root = chooseDataRoot(program, c.noLocalAppData ? "" : local, files);
        EXPECT_EQ(located.place, root.place);
        EXPECT_EQ(located.directory, root.directory);

        EXPECT_EQ(root.place, c.place);
        EXPECT_EQ(root.directory, c.inProgram ? program : platform::joinPath(local, "Dactyla"));
        EXPECT_EQ(root.writable, c.writable);
        // The portable folder gets nothing new: not even the profile folder is made.
        if (root.place == DataPlace::programFolder) {
            EXPECT_FALSE(platform::directoryExists(platform::joinPath(local, "Dactyla")));
        }
    }
}

TEST_F(DataRootTest, TheProfileGetsCopiesOfTheShippedTextsOnceAndKeepsItsOwn) {
    write("program/installed.mark", "");
    write("program/TextData.Eng", kEng);

    DataRoot root = chooseDataRoot(programDirectory, localAppData);
    ASSERT_TRUE(root.writable);
    EXPECT_EQ(root.directory, profile);
    EXPECT_EQ(temp.read("local/Dactyla/TextData.Rus"), kRus);
    EXPECT_EQ(temp.read("local/Dactyla/TextData.Eng"), kEng);
    EXPECT_FALSE(platform::fileExists(platform::joinPath(profile, "TextData.Rus.part")));

    // Sentences imported into the copy survive the next start; a new shipped text does not replace them.
    write("local/Dactyla/TextData.Eng", kEng + "Imported later.\r\n");
    write("program/TextData.Eng", "A newer shipped text.\r\n");
    root = chooseDataRoot(programDirectory, localAppData);
    EXPECT_TRUE(root.writable);
    EXPECT_EQ(temp.read("local/Dactyla/TextData.Eng"), kEng + "Imported later.\r\n");
}

TEST_F(DataRootTest, AMissingShippedTextIsLeftForTheCorpusToStartEmpty) {
    write("program/installed.mark", "");
    RefusingFiles files;
    const DataRoot root = chooseDataRoot(programDirectory, localAppData, files);
    EXPECT_TRUE(root.writable);
    EXPECT_EQ(files.copies, 1);  // only TextData.Rus
    EXPECT_FALSE(platform::fileExists(platform::joinPath(profile, "TextData.Eng")));
}

TEST_F(DataRootTest, AFailedCopyMakesTheRootUnwritableAndLeavesNoHalfText) {
    write("program/installed.mark", "");
    RefusingFiles files;
    files.diskFull = true;
    const DataRoot root = chooseDataRoot(programDirectory, localAppData, files);
    EXPECT_FALSE(root.writable);
    EXPECT_EQ(root.directory, profile);
    EXPECT_FALSE(platform::fileExists(platform::joinPath(profile, "TextData.Rus")));

    // The system copy cleans up after itself too: a source that vanished leaves nothing.
    DataRootFiles& system = systemDataRootFiles();
    EXPECT_FALSE(system.copyFile(temp.file("program/gone.txt"), platform::joinPath(profile, "TextData.Rus")));
    EXPECT_FALSE(platform::fileExists(platform::joinPath(profile, "TextData.Rus")));
    EXPECT_FALSE(platform::fileExists(platform::joinPath(profile, "TextData.Rus.part")));
}

TEST_F(DataRootTest, ThePortableFolderIsLeftExactlyAsItWas) {
    const DataRoot root = chooseDataRoot(programDirectory, localAppData);
    EXPECT_EQ(root.directory, programDirectory);
    std::set<std::string> names;
    for (const platform::DirectoryEntry& entry : platform::listDirectory(programDirectory)) names.insert(entry.name);
    EXPECT_EQ(names, std::set<std::string> {"TextData.Rus"});  // the write probe is gone again
    EXPECT_EQ(temp.read("program/TextData.Rus"), kRus);
}

TEST_F(DataRootTest, TheMessageAndTheDescriptionNameTheFolder) {
    const DataRoot stuck {.place = DataPlace::userProfile, .directory = profile, .writable = false};
    const std::string text = unwritableDataRootText(stuck);
    EXPECT_NE(text.find("\n" + profile + "\n"), std::string::npos);
    EXPECT_EQ(text.rfind("Dactyla \xED\xE5\xE3\xE4\xE5", 0), 0u);  // "Dactyla негде"
    EXPECT_EQ(describeDataRoot(stuck), "in the user's profile: " + profile + " (cannot be written)");
    EXPECT_EQ(describeDataRoot({.directory = programDirectory}), "beside the program: " + programDirectory);
}

#ifdef __linux__
// A folder nobody may write: no write permission, and immutable where the file system allows it,
// which holds root back too. Both are undone on destruction.
class ReadOnlyDirectory {
public:
    explicit ReadOnlyDirectory(const std::string& path) : native_(platform::cp1251ToUtf8(path)) {
        ::chmod(native_.c_str(), 0555);
        fd_ = ::open(native_.c_str(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (fd_ >= 0 && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            immutable_ = ::ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0;
        }
    }
    ~ReadOnlyDirectory() {
        int flags = 0;
        if (immutable_ && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd_, FS_IOC_SETFLAGS, &flags);
        }
        if (fd_ >= 0) ::close(fd_);
        ::chmod(native_.c_str(), 0755);
    }
    ReadOnlyDirectory(const ReadOnlyDirectory&) = delete;
    ReadOnlyDirectory& operator=(const ReadOnlyDirectory&) = delete;

private:
    std::string native_;
    int fd_ = -1;
    bool immutable_ = false;
};

TEST_F(DataRootTest, AReallyReadOnlyProgramFolderSendsTheDataToTheProfile) {
    const ReadOnlyDirectory readOnly(programDirectory);
    if (systemDataRootFiles().canWrite(programDirectory))
        GTEST_SKIP() << "this machine lets the test write into any folder";
    const DataRoot root = chooseDataRoot(programDirectory, localAppData);
    EXPECT_EQ(root.place, DataPlace::userProfile);
    EXPECT_TRUE(root.writable);
    EXPECT_EQ(temp.read("local/Dactyla/TextData.Rus"), kRus);
}
#endif

}  // namespace
}  // namespace dactyla
