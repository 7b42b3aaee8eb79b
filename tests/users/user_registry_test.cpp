#include "users/user_registry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/directory.h"
#include "platform/file.h"
#include "support/temp_dir.h"
#include "users/folder_name.h"

namespace dactyla {
namespace {

using ::testing::ElementsAre;
using testing::TempDir;

// "Облом"
const std::string kTitle = "\xCE\xE1\xEB\xEE\xEC";
// "Такое имя уже есть!"
const std::string kExists = "\xD2\xE0\xEA\xEE\xE5 \xE8\xEC\xFF \xF3\xE6\xE5 \xE5\xF1\xF2\xFC!";
// "Имя не может содержать", "следующих символов:", the seven characters
const std::string kInvalidName =
    "\xC8\xEC\xFF \xED\xE5 \xEC\xEE\xE6\xE5\xF2 \xF1\xEE\xE4\xE5\xF0\xE6\xE0\xF2\xFC\n"
    "\xF1\xEB\xE5\xE4\xF3\xFE\xF9\xE8\xF5 \xF1\xE8\xEC\xE2\xEE\xEB\xEE\xE2:\n"
    "     : * ? \" < > |";
// "Имя не может кончаться точкой или пробелом:" ...
const std::string kEndsInDotOrSpace =
    "\xC8\xEC\xFF \xED\xE5 \xEC\xEE\xE6\xE5\xF2 \xEA\xEE\xED\xF7\xE0\xF2\xFC\xF1\xFF "
    "\xF2\xEE\xF7\xEA\xEE\xE9 \xE8\xEB\xE8 \xEF\xF0\xEE\xE1\xE5\xEB\xEE\xEC:\n"
    "Windows \xEE\xF2\xE1\xF0\xEE\xF1\xE8\xF2 \xE8\xF5, \xE8 \xEF\xE0\xEF\xEA\xE0 "
    "\xEF\xEE\xEB\xF3\xF7\xE8\xF2 \xE4\xF0\xF3\xE3\xEE\xE5 \xE8\xEC\xFF.";
// "«CON» — имя устройства в Windows:", naming the device as typed, and the rest
std::string reservedStart(const std::string& device) {
    return "\xAB" + device + "\xBB \x97 \xE8\xEC\xFF \xF3\xF1\xF2\xF0\xEE\xE9\xF1\xF2\xE2\xE0 \xE2 Windows:\n";
}
// "Хитрожопая ошибка #"
const std::string kOddError = "\xD5\xE8\xF2\xF0\xEE\xE6\xEE\xEF\xE0\xFF \xEE\xF8\xE8\xE1\xEA\xE0 #";

// Records every call the registry makes into the program, in order.
class RecordingHost : public UserHost {
public:
    void addUserMenuItem(const std::string& name, std::int32_t number) override {
        calls.push_back("menu " + name + " " + std::to_string(number));
    }
    void checkUserItem(std::int32_t number) override { calls.push_back("check " + std::to_string(number)); }
    void checkAlphabetItem() override {
        calls.push_back("alphabet " + std::to_string(live->options.alphabetMode));
    }
    void showError(const std::string& text, const std::string& title) override {
        calls.push_back("error");
        errors.push_back(text);
        titles.push_back(title);
    }
    void closeCorpus() override { calls.push_back("close"); }
    // The corpus must see the new user's own options.
    void openCorpus() override {
        calls.push_back("open " + registry->currentUser()->name +
                        " russian=" + std::to_string(live->options.russian));
    }

    const UserRegistry* registry = nullptr;
    const LiveOptions* live = nullptr;
    std::vector<std::string> calls;
    std::vector<std::string> errors;
    std::vector<std::string> titles;
};

// Wine keeps no archive mark on directories, so a Windows build cannot read a mark back; the
// marking rules are checked natively, where the platform layer keeps the mark in an xattr.
#ifdef _WIN32
constexpr bool kMarksReadBack = false;
#define SKIP_WITHOUT_MARKS() GTEST_SKIP() << "directory archive marks do not survive under Wine"
#else
constexpr bool kMarksReadBack = true;
#define SKIP_WITHOUT_MARKS() static_cast<void>(0)
#endif

class UserRegistryTest : public ::testing::Test {
protected:
    UserRegistryTest() { restart(); }

    // A fresh registry over the same program directory, as on the next run.
    void restart() {
        host = RecordingHost {};
        registry = std::make_unique<UserRegistry>(program.path(), live, host);
        host.registry = registry.get();
        host.live = &live;
    }

    std::string users() const { return platform::joinPath(program.path(), "Users"); }
    std::string userPath(const std::string& name) const { return platform::joinPath(users(), name); }

    void makeUsers(const std::vector<std::string>& names) const {
        platform::createDirectory(users());
        for (const auto& name : names) ASSERT_TRUE(platform::createDirectory(userPath(name)));
    }

    // User directories in the order the system lists them, which is the order of numbering.
    std::vector<std::string> listed() const {
        std::vector<std::string> names;
        for (const auto& entry : platform::listDirectory(users()))
            if (entry.isDirectory() && entry.name.front() != '.') names.push_back(entry.name);
        return names;
    }

    void mark(const std::string& name, bool on) const {
        platform::setAttributes(userPath(name),
                                on ? platform::attribute::archive : platform::attribute::normal);
    }

    void expectMark(const std::string& name, bool marked) const {
        if (!kMarksReadBack) return;
        const auto attributes = platform::getAttributes(userPath(name));
        ASSERT_TRUE(attributes.has_value()) << name;
        EXPECT_EQ((*attributes & platform::attribute::archive) != 0, marked) << name;
    }

    void writeOptionsFile(const std::string& name, std::uint16_t flags) const {
        platform::File file = platform::File::open(platform::joinPath(userPath(name), "Options.dat"),
                                                   {.mode = platform::OpenMode::always});
        const auto low = static_cast<unsigned char>(flags);
        const auto high = static_cast<unsigned char>(flags >> 8);
        // Zero totals, lengths 20..40, timer 60 s.
        const unsigned char bytes[16] = {0, 0, 0, 0, 0, 0, 0, 0, 20, 0, 40, 0, 60, 0, low, high};
        ASSERT_EQ(file.write(bytes, sizeof bytes), sizeof bytes);
    }

    TempDir program;
    LiveOptions live;
    RecordingHost host;
    std::unique_ptr<UserRegistry> registry;
};

TEST_F(UserRegistryTest, AMissingUsersDirectoryIsCreatedAndLeavesTheRegistryEmpty) {
    EXPECT_FALSE(registry->loadUsers());
    EXPECT_TRUE(platform::directoryExists(users()));
    EXPECT_EQ(registry->currentUser(), nullptr);
    EXPECT_EQ(registry->userDirectory(), "");
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(UserRegistryTest, PlainFilesAndDotNamesAreNotUsersAndNumberingHasNoGaps) {
    makeUsers({"Anna", ".hidden", "Boris", ".cache"});
    program.write(platform::joinPath("Users", "notes.txt"), "x");
    ASSERT_TRUE(registry->loadUsers());
    const auto names = listed();
    ASSERT_EQ(names.size(), 2u);
    ASSERT_EQ(registry->users().size(), 2u);
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(registry->users()[i].name, names[i]);
        EXPECT_EQ(registry->users()[i].number, static_cast<std::int32_t>(i + 1));
    }
    EXPECT_THAT(host.calls, ElementsAre("menu " + names[0] + " 1", "menu " + names[1] + " 2", "close",
                                        "open " + names[0] + " russian=1", "check 1", "alphabet 0"));
}

TEST_F(UserRegistryTest, WithoutAnyMarkTheFirstUserBecomesCurrentAndGetsTheMark) {
    makeUsers({"Anna", "Boris", "Clara"});
    ASSERT_TRUE(registry->loadUsers());
    const auto names = listed();
    ASSERT_NE(registry->currentUser(), nullptr);
    EXPECT_EQ(registry->currentUser()->number, 1);
    EXPECT_EQ(registry->userDirectory(), userPath(names[0]));
    expectMark(names[0], true);
    expectMark(names[1], false);
    expectMark(names[2], false);
}

TEST_F(UserRegistryTest, OnlyTheSecondMarkedMakesUserTwoCurrentAndClearsTheThird) {
    SKIP_WITHOUT_MARKS();
    makeUsers({"Anna", "Boris", "Clara"});
    const auto names = listed();
    mark(names[1], true);
    platform::setAttributes(userPath(names[2]), platform::attribute::hidden);
    ASSERT_TRUE(registry->loadUsers());
    EXPECT_EQ(registry->currentUser()->number, 2);
    expectMark(names[0], false);
    expectMark(names[1], true);
    EXPECT_EQ(platform::getAttributes(userPath(names[2])), platform::attribute::directory)
        << "the last listed user counts as current while the list is built, so it is set to normal";
    EXPECT_EQ(platform::getAttributes(userPath(names[1])),
              platform::attribute::archive | platform::attribute::directory)
        << "the current user's directory carries the archive mark alone";
}

TEST_F(UserRegistryTest, WhenSeveralAreMarkedTheLastListedWins) {
    SKIP_WITHOUT_MARKS();
    makeUsers({"Anna", "Boris", "Clara"});
    const auto names = listed();
    mark(names[0], true);
    mark(names[2], true);
    ASSERT_TRUE(registry->loadUsers());
    EXPECT_EQ(registry->currentUser()->number, 3);
    expectMark(names[0], true);  // only the outgoing current user's mark is cleared
    expectMark(names[2], true);
}

TEST_F(UserRegistryTest, SwitchingMovesTheMarkAndTheNextRunStartsWithTheNewUser) {
    SKIP_WITHOUT_MARKS();
    makeUsers({"Anna", "Boris", "Clara"});
    const auto names = listed();
    mark(names[1], true);
    ASSERT_TRUE(registry->loadUsers());
    ASSERT_EQ(registry->currentUser()->number, 2);
    host.calls.clear();
    ASSERT_TRUE(registry->selectUser(3));
    expectMark(names[1], false);
    expectMark(names[2], true);
    EXPECT_THAT(host.calls, ElementsAre("close", "open " + names[2] + " russian=1", "check 3", "alphabet 0"));

    live.optionsFile.close();
    restart();
    ASSERT_TRUE(registry->loadUsers());
    EXPECT_EQ(registry->currentUser()->name, names[2]);
}

TEST_F(UserRegistryTest, SelectingReadsTheUsersOptionsBeforeTheCorpusAndMenuSeeThem) {
    makeUsers({"Anna", "Boris"});
    const auto names = listed();
    writeOptionsFile(names[0], 0x0000);  // English, no alphabet drill
    writeOptionsFile(names[1], 0x0003);  // Russian, alphabet drill
    ASSERT_TRUE(registry->loadUsers());
    EXPECT_EQ(live.options.minLength, 20);
    EXPECT_EQ(live.options.russian, 0);
    host.calls.clear();
    ASSERT_TRUE(registry->selectUser(2));
    EXPECT_THAT(host.calls, ElementsAre("close", "open " + names[1] + " russian=1", "check 2", "alphabet 1"));
    EXPECT_FALSE(live.optionsDirty) << "selecting never writes or clears the options itself";
}

TEST_F(UserRegistryTest, SelectingAUserThatDoesNotExistChangesNothing) {
    makeUsers({"Anna"});
    ASSERT_TRUE(registry->loadUsers());
    host.calls.clear();
    EXPECT_FALSE(registry->selectUser(0));
    EXPECT_FALSE(registry->selectUser(2));
    EXPECT_EQ(registry->currentUser()->number, 1);
    EXPECT_TRUE(host.calls.empty());
    expectMark("Anna", true);
}

TEST_F(UserRegistryTest, CreatingTheFifthUserNumbersItFiveAndCarriesTheLiveOptionsOver) {
    makeUsers({"u1", "u2", "u3", "u4"});
    ASSERT_TRUE(registry->loadUsers());
    live.options.minLength = 44;
    live.options.russian = 0;
    const Options before = live.options;
    live.optionsDirty = false;
    host.calls.clear();
    ASSERT_TRUE(registry->createUser("Dmitry"));
    EXPECT_EQ(registry->currentUser()->name, "Dmitry");
    EXPECT_EQ(registry->currentUser()->number, 5);
    EXPECT_EQ(registry->users().size(), 5u);
    EXPECT_THAT(host.calls,
                ElementsAre("menu Dmitry 5", "close", "open Dmitry russian=0", "check 5", "alphabet 0"));
    EXPECT_TRUE(live.options == before);
    EXPECT_TRUE(live.optionsDirty) << "the new user's file holds no options yet";
    EXPECT_EQ(live.optionsFile.size(), 8u);
    expectMark("Dmitry", true);
    expectMark(registry->users()[0].name, false);
}

TEST_F(UserRegistryTest, CreatingTheFirstUserSelectsItWithoutClosingAnything) {
    EXPECT_FALSE(registry->loadUsers());
    ASSERT_TRUE(registry->createUser("\xC0\xED\xFF"));  // "Аня"
    EXPECT_THAT(host.calls,
                ElementsAre("menu \xC0\xED\xFF 1", "open \xC0\xED\xFF russian=1", "check 1", "alphabet 0"));
    EXPECT_TRUE(platform::directoryExists(userPath("\xC0\xED\xFF")));
    restart();
    ASSERT_TRUE(registry->loadUsers());
    EXPECT_EQ(registry->currentUser()->name, "\xC0\xED\xFF");
}

TEST_F(UserRegistryTest, CreatingKeepsTheOutgoingUsersChangedOptionsInTheirOwnFile) {
    makeUsers({"Anna"});
    writeOptionsFile("Anna", 0x1435);
    ASSERT_TRUE(registry->loadUsers());
    live.options.timerSeconds = 1234;
    live.optionsDirty = true;
    ASSERT_TRUE(registry->createUser("Boris"));
    EXPECT_EQ(live.options.timerSeconds, 1234) << "the new user starts with them too";
    live.optionsFile.close();
    const auto anna = platform::readWholeFile(platform::joinPath(userPath("Anna"), "Options.dat"));
    ASSERT_TRUE(anna.has_value());
    ASSERT_EQ(anna->size(), 16u);
    EXPECT_EQ(static_cast<unsigned char>((*anna)[12]) | static_cast<unsigned char>((*anna)[13]) << 8, 1234);
}

TEST_F(UserRegistryTest, RefusalsShowTheirTextTitledOblomAndChangeNothing) {
    makeUsers({"Anna"});
    ASSERT_TRUE(registry->loadUsers());
    host.calls.clear();
    const struct {
        std::string name, text;
    } cases[] = {
        {"Anna", kExists},          {"a?b", kInvalidName},       {"x*", kInvalidName},
        {".profile", kInvalidName}, {"..", kInvalidName},        {"Anna/../../escape", kInvalidName},
        {"Anna\\x", kInvalidName},  {"trailing.", kEndsInDotOrSpace}, {"trailing ", kEndsInDotOrSpace},
        {"con", reservedStart("con")}, {"Com7.txt", reservedStart("Com7")}, {"NUL .log", reservedStart("NUL")},
    };
    for (const auto& c : cases) {
        host.errors.clear();
        EXPECT_FALSE(registry->createUser(c.name)) << c.name;
        ASSERT_EQ(host.errors.size(), 1u) << c.name;
        EXPECT_EQ(host.errors[0].substr(0, c.text.size()), c.text) << c.name;
        EXPECT_EQ(host.titles.back(), kTitle);
    }
    EXPECT_EQ(registry->users().size(), 1u);
    EXPECT_EQ(registry->currentUser()->name, "Anna");
    EXPECT_EQ(listed(), std::vector<std::string> {"Anna"});
    EXPECT_FALSE(platform::directoryExists(platform::joinPath(program.path(), "escape")));
    for (const auto& call : host.calls) EXPECT_EQ(call, "error") << "no menu, corpus or selection call";
}

TEST_F(UserRegistryTest, ANameTooLongForTheFolderIsRefusedWithTheLimitAndTheLongestFitsWithItsFiles) {
    makeUsers({});
    const std::size_t longest = longestFolderName(users());
    ASSERT_GT(longest, 31u) << "a test folder leaves room for the longest name the dialog takes";
    // "Здесь имя может быть не длиннее <n> знаков."
    const std::string limit = "\xC7\xE4\xE5\xF1\xFC \xE8\xEC\xFF \xEC\xEE\xE6\xE5\xF2 \xE1\xFB\xF2\xFC "
                              "\xED\xE5 \xE4\xEB\xE8\xED\xED\xE5\xE5 " +
                              std::to_string(longest) + " \xE7\xED\xE0\xEA\xEE\xE2.";
    for (const std::size_t length : {longest + 1, std::size_t {300}}) {
        host.errors.clear();
        EXPECT_FALSE(registry->createUser(std::string(length, 'n'))) << length;
        ASSERT_EQ(host.errors.size(), 1u) << length;
        EXPECT_TRUE(host.errors[0].ends_with(limit)) << host.errors[0];
    }
    EXPECT_TRUE(listed().empty()) << "nothing is made for a refused name";
    EXPECT_TRUE(registry->users().empty());

    const std::string fits(longest, 'n');
    ASSERT_TRUE(registry->createUser(fits));
    const std::string deepest = platform::joinPath(userPath(fits), std::string(kLongestOwnFileName, 'f'));
    EXPECT_EQ(deepest.size(), kLongestPath) << "the longest own file ends exactly at the path limit";
    program.write(platform::joinPath(platform::joinPath("Users", fits), std::string(kLongestOwnFileName, 'f')), "x");
    EXPECT_TRUE(platform::readWholeFile(deepest).has_value());
}

TEST_F(UserRegistryTest, AnyOtherErrorIsShownWithItsNumber) {
    // No Users directory: the platform answers "path not found".
    EXPECT_FALSE(registry->createUser("Anna"));
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0], kOddError + "3");
    EXPECT_EQ(registry->currentUser(), nullptr);
    EXPECT_EQ(createUserRefusal(0xFFFFFFFFu), kOddError + "-1") << "the code is shown signed";
}

}  // namespace
}  // namespace dactyla
