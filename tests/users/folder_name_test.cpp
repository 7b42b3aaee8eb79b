#include "users/folder_name.h"

#include <gtest/gtest.h>

#include <string>

namespace dactyla {
namespace {

using Fault = FolderNameFault;
constexpr std::size_t kRoom = 31;

TEST(FolderName, EveryKindOfNameWindowsCannotTakeIsNamedForWhatIsWrong) {
    const struct {
        std::string name;
        Fault fault;
    } cases[] = {
        // Fine, though close to a refusal.
        {"Anna", Fault::none}, {"\xC0\xED\xFF", Fault::none}, {"CONSOLE", Fault::none}, {"COM", Fault::none},
        {"COM0", Fault::none}, {"COM10", Fault::none}, {"LPT", Fault::none}, {"xCON", Fault::none},
        {"a.con", Fault::none}, {"NULL", Fault::none}, {"AUX_1", Fault::none}, {"Anna .b", Fault::none},
        {" leading space", Fault::none}, {"with.dot.inside", Fault::none}, {std::string(kRoom, 'n'), Fault::none},
        // Characters Windows refuses, path separators, control characters, hidden names.
        {"", Fault::badCharacters}, {"a:b", Fault::badCharacters}, {"a*", Fault::badCharacters},
        {"?", Fault::badCharacters}, {"\"q\"", Fault::badCharacters}, {"<a>", Fault::badCharacters},
        {"a|b", Fault::badCharacters}, {"a/b", Fault::badCharacters}, {"a\\b", Fault::badCharacters},
        {"tab\there", Fault::badCharacters}, {std::string("nul\0x", 5), Fault::badCharacters},
        {".profile", Fault::badCharacters}, {"..", Fault::badCharacters}, {"CON?", Fault::badCharacters},
        // Endings Windows drops.
        {"a.", Fault::endsInDotOrSpace}, {"a ", Fault::endsInDotOrSpace}, {"a. . ", Fault::endsInDotOrSpace},
        {"CON.", Fault::endsInDotOrSpace},
        // Devices, any case, with or without an extension or spaces before it.
        {"CON", Fault::reservedDevice}, {"con", Fault::reservedDevice}, {"Prn", Fault::reservedDevice},
        {"aux", Fault::reservedDevice}, {"NuL", Fault::reservedDevice}, {"COM1", Fault::reservedDevice},
        {"com9", Fault::reservedDevice}, {"LPT1", Fault::reservedDevice}, {"lpt9", Fault::reservedDevice},
        {"con.txt", Fault::reservedDevice}, {"NUL.tar.gz", Fault::reservedDevice},
        {"Com3 .log", Fault::reservedDevice}, {"CON  .x", Fault::reservedDevice},
        // Too long for the room left.
        {std::string(kRoom + 1, 'n'), Fault::tooLong}, {std::string(300, 'n'), Fault::tooLong},
    };
    for (const auto& c : cases) EXPECT_EQ(judgeFolderName(c.name, kRoom), c.fault) << '"' << c.name << '"';
}

TEST(FolderName, TheDeviceIsNamedAsTyped) {
    const struct {
        std::string name, device;
    } cases[] = {
        {"con", "con"}, {"Com7.txt", "Com7"}, {"LPT2  .a.b", "LPT2"}, {"Anna", ""}, {"COM0", ""}, {"a.con", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(reservedDeviceOf(c.name), c.device) << c.name;
}

TEST(FolderName, TheLongestNameLeavesRoomForTheLongestOwnFileWithinThePathLimit) {
    const struct {
        std::size_t parentLength, longest;
    } cases[] = {
        {3, kLongestPath - 3 - 2 - kLongestOwnFileName},
        {100, kLongestPath - 100 - 2 - kLongestOwnFileName},
        {kLongestPath - kLongestOwnFileName - 3, 1},
        {kLongestPath - kLongestOwnFileName - 2, 0},
        {400, 0},
    };
    for (const auto& c : cases) {
        const std::string parent(c.parentLength, 'p');
        EXPECT_EQ(longestFolderName(parent), c.longest) << c.parentLength;
    }
}

}  // namespace
}  // namespace dactyla
