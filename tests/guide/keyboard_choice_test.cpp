#include "guide/keyboard_choice.h"

#include <gtest/gtest.h>

#include "platform/file.h"
#include "support/temp_dir.h"

namespace dactyla {
namespace {

using testing::TempDir;

TEST(KeyboardChoiceFile, HasTheDocumentedLayoutAndReadsBackEveryChoice) {
    EXPECT_EQ(encodeKeyboardChoice({KeyboardMode::guide, true}), std::string("DactKbrd\x01\x02\x01", 11));
    for (const KeyboardMode mode : {KeyboardMode::off, KeyboardMode::always, KeyboardMode::guide})
        for (const bool chose : {false, true}) {
            const KeyboardChoice choice {mode, chose};
            EXPECT_EQ(decodeKeyboardChoice(encodeKeyboardChoice(choice)), choice);
        }
}

TEST(KeyboardChoiceFile, AnythingButAnIntactFileIsDamaged) {
    const std::string good = encodeKeyboardChoice({KeyboardMode::always, true});
    std::string mode3 = good;
    mode3[9] = 3;
    std::string chose2 = good;
    chose2[10] = 2;
    std::string version2 = good;
    version2[8] = 2;
    for (const std::string& bytes : {std::string(), good.substr(0, 10), good + "x", "DactKeys" + good.substr(8),
                                     mode3, chose2, version2, std::string(11, '\xFF')})
        EXPECT_FALSE(decodeKeyboardChoice(bytes).has_value()) << bytes.size();
}

TEST(KeyboardChoice, ANewUserStartsOffAndTheMenuItemStepsThroughTheModes) {
    TempDir user;
    const LoadedKeyboardChoice fresh = loadKeyboardChoice(user.path());
    EXPECT_EQ(fresh.state, StoredFileState::missing);
    EXPECT_EQ(fresh.choice, KeyboardChoice {});
    KeyboardChoice choice = fresh.choice;
    const KeyboardMode expected[] = {KeyboardMode::always, KeyboardMode::guide, KeyboardMode::off, KeyboardMode::always};
    for (const KeyboardMode mode : expected) {
        choice = choiceAfterMenuItem(choice);
        EXPECT_EQ(choice, (KeyboardChoice {mode, true}));
        ASSERT_EQ(saveKeyboardChoice(user.path(), choice), ChoiceSaveResult::saved);
        EXPECT_EQ(loadKeyboardChoice(user.path()).choice, choice);
    }
    EXPECT_FALSE(platform::fileExists(user.file("Keyboard.dat.new")));
}

TEST(KeyboardChoice, TheCourseShowsTheGuideUnlessTheUserChose) {
    EXPECT_EQ(choiceForCourse({}), (KeyboardChoice {KeyboardMode::guide, false}));
    EXPECT_EQ(choiceForCourse({KeyboardMode::always, false}), (KeyboardChoice {KeyboardMode::guide, false}));
    for (const KeyboardMode mode : {KeyboardMode::off, KeyboardMode::always, KeyboardMode::guide})
        EXPECT_EQ(choiceForCourse({mode, true}), (KeyboardChoice {mode, true}));
}

TEST(KeyboardChoice, ADamagedFileCountsAsNoChoiceAndIsSetAsideBeforeTheNextOneIsWritten) {
    TempDir user;
    user.write("Keyboard.dat", "guide, please");
    user.write("Keyboard.dat.damaged", "older damage");
    const LoadedKeyboardChoice loaded = loadKeyboardChoice(user.path());
    EXPECT_EQ(loaded.state, StoredFileState::damaged);
    EXPECT_EQ(loaded.choice, KeyboardChoice {});
    ASSERT_EQ(saveKeyboardChoice(user.path(), {KeyboardMode::guide, true}), ChoiceSaveResult::saved);
    EXPECT_EQ(user.read("Keyboard.dat.damaged"), "older damage");
    EXPECT_EQ(user.read("Keyboard.dat.damaged2"), "guide, please");
    EXPECT_EQ(loadKeyboardChoice(user.path()).choice, (KeyboardChoice {KeyboardMode::guide, true}));
}

TEST(KeyboardChoice, AMissingUserDirectoryIsAWriteFailureAndLeavesNothing) {
    TempDir root;
    const std::string gone = root.file("nobody");
    EXPECT_EQ(saveKeyboardChoice(gone, {KeyboardMode::always, true}), ChoiceSaveResult::writeFailed);
    EXPECT_EQ(loadKeyboardChoice(gone).state, StoredFileState::missing);
}

}  // namespace
}  // namespace dactyla
