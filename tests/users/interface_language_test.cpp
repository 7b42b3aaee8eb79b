#include "users/interface_language.h"

#include <gtest/gtest.h>

#include "platform/fault_injection.h"
#include "platform/file.h"
#include "support/temp_dir.h"

namespace dactyla {
namespace {

using testing::TempDir;

const std::vector<std::string> kTags = {"ru", "en"};

TEST(InterfaceLanguageFile, OnlyAKnownTagOnOneLineIsAChoice) {
    struct Case {
        std::string bytes;
        std::optional<std::string> tag;
    };
    const Case cases[] = {
        {"en\r\n", "en"}, {"en\n", "en"}, {"en", "en"}, {"ru\r\n", "ru"},
        {"", std::nullopt}, {"\r\n", std::nullopt}, {"EN\r\n", std::nullopt}, {"en \r\n", std::nullopt},
        {"de\r\n", std::nullopt}, {"en\r\n\r\n", std::nullopt}, {std::string("en\0", 3), std::nullopt},
        {std::string(4096, 'e'), std::nullopt}, {"\xEF\xBB\xBF" "en\r\n", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(decodeInterfaceLanguage(c.bytes, kTags), c.tag) << c.bytes.size();
}

TEST(InterfaceLanguage, NoFileIsNoChoiceAndAStoredOneReadsBack) {
    TempDir user;
    EXPECT_EQ(loadInterfaceLanguage(user.path(), kTags).state, StoredFileState::missing);
    ASSERT_TRUE(storeInterfaceLanguage(user.path(), "en", kTags));
    EXPECT_EQ(user.read(kInterfaceFileName), "en\r\n");
    StoredInterfaceLanguage stored = loadInterfaceLanguage(user.path(), kTags);
    EXPECT_EQ(stored.state, StoredFileState::valid);
    EXPECT_EQ(stored.tag, "en");
    ASSERT_TRUE(storeInterfaceLanguage(user.path(), "ru", kTags));
    EXPECT_EQ(loadInterfaceLanguage(user.path(), kTags).tag, "ru");
    EXPECT_FALSE(platform::fileExists(user.file("Options.dat"))) << "the options file is not touched";
    EXPECT_FALSE(platform::fileExists(user.file(std::string(kInterfaceFileName) + ".new")));
}

TEST(InterfaceLanguage, ADamagedFileCountsAsNoChoiceAndIsKeptAsideWhenTheNextIsStored) {
    TempDir user;
    user.write(kInterfaceFileName, "Klingon, please");
    EXPECT_EQ(loadInterfaceLanguage(user.path(), kTags).state, StoredFileState::damaged);
    ASSERT_TRUE(storeInterfaceLanguage(user.path(), "en", kTags));
    EXPECT_EQ(user.read(std::string(kInterfaceFileName) + ".damaged"), "Klingon, please");
    EXPECT_EQ(loadInterfaceLanguage(user.path(), kTags).tag, "en");
}

TEST(InterfaceLanguage, AFailedWriteKeepsTheOldChoiceAndAFileInUseIsLeftAlone) {
    TempDir user;
    ASSERT_TRUE(storeInterfaceLanguage(user.path(), "en", kTags));
    {
        platform::ScopedFileFaults faults;
        faults.failWritesAfter(1);
        EXPECT_FALSE(storeInterfaceLanguage(user.path(), "ru", kTags));
    }
    EXPECT_EQ(user.read(kInterfaceFileName), "en\r\n");
    EXPECT_FALSE(platform::fileExists(user.file(std::string(kInterfaceFileName) + ".new")));
    {
        platform::ScopedFileFaults faults;
        faults.failOpensOf(kInterfaceFileName);
        EXPECT_EQ(loadInterfaceLanguage(user.path(), kTags).state, StoredFileState::unreadable);
        EXPECT_FALSE(storeInterfaceLanguage(user.path(), "ru", kTags));
    }
    EXPECT_EQ(user.read(kInterfaceFileName), "en\r\n");
    EXPECT_FALSE(storeInterfaceLanguage(user.file("nobody"), "en", kTags)) << "no user directory";
}

}  // namespace
}  // namespace dactyla
