#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "corpus/sentence_corpus.h"
#include "dactyla_version.h"
#include "platform/directory.h"
#include "platform/file.h"
#include "tools/dactyla_text/arguments.h"
#include "tools/dactyla_text/commands.h"
#include "support/tool_run.h"

namespace dactyla::text_tool {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// The last two bytes of Options.dat for default options with the given capital-run limit.
std::string packedFlagsWithCaps(std::uint8_t maxCapitalRun) {
    Options options;
    options.maxCapitalRun = maxCapitalRun;
    const std::uint16_t flags = packOptionFlags(options);
    return {static_cast<char>(flags & 0xFF), static_cast<char>(flags >> 8)};
}

TEST(DactylaTextArguments, HelpWinsAndNothingAtAllIsHelp) {
    for (const auto& words : std::vector<std::vector<std::string>> {{}, {"--help"}, {"check", "f", "-h"}}) {
        const auto parsed = parseArguments(words);
        ASSERT_TRUE(parsed.arguments);
        EXPECT_EQ(parsed.arguments->command, Command::help);
    }
}

TEST(DactylaTextArguments, CheckTakesAFileWithOptionalLanguageWindowAndLimit) {
    auto parsed = parseArguments({"check", "text.txt"});
    ASSERT_TRUE(parsed.arguments);
    EXPECT_EQ(parsed.arguments->command, Command::check);
    EXPECT_EQ(parsed.arguments->file, "text.txt");
    EXPECT_TRUE(parsed.arguments->russian);
    EXPECT_EQ(parsed.arguments->minLength, 10);
    EXPECT_EQ(parsed.arguments->maxLength, 120);
    EXPECT_FALSE(parsed.arguments->limit);

    parsed = parseArguments({"check", "--lang", "en", "--max", "60", "t", "--min", "20", "--limit", "0"});
    ASSERT_TRUE(parsed.arguments) << parsed.error;
    EXPECT_EQ(parsed.arguments->file, "t");
    EXPECT_FALSE(parsed.arguments->russian);
    EXPECT_EQ(parsed.arguments->minLength, 20);
    EXPECT_EQ(parsed.arguments->maxLength, 60);
    EXPECT_EQ(parsed.arguments->limit, 0u);
}

TEST(DactylaTextArguments, IndexTakesProgramDirectoryUserAndALanguage) {
    const auto parsed = parseArguments({"index", "C:\\Dactyla", "\xC0\xED\xFF", "--lang", "ru"});
    ASSERT_TRUE(parsed.arguments) << parsed.error;
    EXPECT_EQ(parsed.arguments->command, Command::index);
    EXPECT_EQ(parsed.arguments->programDirectory, "C:\\Dactyla");
    EXPECT_EQ(parsed.arguments->user, "\xC0\xED\xFF");
    EXPECT_TRUE(parsed.arguments->russian);
}

TEST(DactylaTextArguments, ImportTakesAFileALanguageAWindowCapsAndAnOutput) {
    auto parsed = parseArguments({"import", "book.txt", "--lang", "en"});
    ASSERT_TRUE(parsed.arguments) << parsed.error;
    EXPECT_EQ(parsed.arguments->command, Command::importSentences);
    EXPECT_EQ(parsed.arguments->file, "book.txt");
    EXPECT_FALSE(parsed.arguments->russian);
    EXPECT_FALSE(parsed.arguments->maxCapitalRun);
    EXPECT_FALSE(parsed.arguments->out);

    parsed = parseArguments({"import", "--caps", "2", "b", "--lang", "ru", "--min", "20", "--max", "60", "--out", "o"});
    ASSERT_TRUE(parsed.arguments) << parsed.error;
    EXPECT_TRUE(parsed.arguments->russian);
    EXPECT_EQ(parsed.arguments->maxCapitalRun, 2);
    EXPECT_EQ(parsed.arguments->minLength, 20);
    EXPECT_EQ(parsed.arguments->maxLength, 60);
    EXPECT_EQ(parsed.arguments->out, "o");
}

TEST(DactylaTextArguments, AddTakesProgramDirectoryUserFileALanguageAndCaps) {
    const auto parsed = parseArguments({"add", "C:\\Dactyla", "Ann", "book.txt", "--lang", "en", "--caps", "255"});
    ASSERT_TRUE(parsed.arguments) << parsed.error;
    EXPECT_EQ(parsed.arguments->command, Command::addSentences);
    EXPECT_EQ(parsed.arguments->programDirectory, "C:\\Dactyla");
    EXPECT_EQ(parsed.arguments->user, "Ann");
    EXPECT_EQ(parsed.arguments->file, "book.txt");
    EXPECT_EQ(parsed.arguments->maxCapitalRun, 255);
}

TEST(DactylaTextArguments, EachMistakeIsNamed) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"check"}, "check takes one FILE"},
        {{"check", "a", "b"}, "check takes one FILE"},
        {{"check", "a", "--lang"}, "--lang needs a value"},
        {{"check", "a", "--lang", "de"}, "--lang must be ru or en, not 'de'"},
        {{"check", "a", "--min", "x1"}, "--min must be a number, not 'x1'"},
        {{"check", "a", "--max", "-5"}, "--max must be a number, not '-5'"},
        {{"check", "a", "--limit", "99999999999"}, "--limit must be a number, not '99999999999'"},
        {{"check", "a", "--min", "9"}, "--min must lie between 10 and 120, as the program keeps it"},
        {{"check", "a", "--max", "121"}, "--max must lie between 10 and 120, as the program keeps it"},
        {{"check", "a", "--min", "50", "--max", "40"}, "--min is above --max"},
        {{"check", "a", "--verbose", "1"}, "unknown option --verbose"},
        {{"index", "dir", "user"}, "index needs --lang ru or --lang en"},
        {{"index", "dir", "--lang", "en"}, "index takes PROGRAM_DIR and USER"},
        {{"index", "dir", "user", "--lang", "en", "--min", "20"}, "unknown option --min for index"},
        {{"index", "dir", "", "--lang", "en"}, "the user name is empty"},
        {{"import", "b"}, "import needs --lang ru or --lang en"},
        {{"import", "--lang", "en"}, "import takes one FILE"},
        {{"import", "b", "--lang", "en", "--caps", "0"}, "--caps must lie between 1 and 255"},
        {{"import", "b", "--lang", "en", "--caps", "256"}, "--caps must lie between 1 and 255"},
        {{"import", "b", "--lang", "en", "--limit", "3"}, "unknown option --limit for import"},
        {{"import", "b", "--lang", "en", "--min", "60", "--max", "50"}, "--min is above --max"},
        {{"add", "dir", "user", "--lang", "en"}, "add takes PROGRAM_DIR, USER and FILE"},
        {{"add", "dir", "user", "b"}, "add needs --lang ru or --lang en"},
        {{"add", "dir", "user", "b", "--lang", "en", "--min", "20"}, "unknown option --min for add"},
        {{"add", "dir", "", "b", "--lang", "en"}, "the user name is empty"},
        {{"check", "a", "--caps", "2"}, "unknown option --caps"},
    };
    for (const auto& [words, error] : cases) {
        const auto parsed = parseArguments(words);
        EXPECT_FALSE(parsed.arguments) << error;
        EXPECT_EQ(parsed.error, error);
    }
}

class DactylaTextRun : public testing::ToolRun {};

TEST_F(DactylaTextRun, HelpExplainsEveryCommand) {
    EXPECT_EQ(run({"--help"}), kSuccess);
    EXPECT_THAT(out.str(), StartsWith("dactyla-text " + std::string(kVersion) + "\n"));
    EXPECT_THAT(out.str(), HasSubstr("This program's folder keeps its data "));
    EXPECT_THAT(out.str(), HasSubstr("dactyla-text check FILE"));
    EXPECT_THAT(out.str(), HasSubstr("dactyla-text index PROGRAM_DIR USER --lang ru|en"));
    EXPECT_THAT(out.str(), HasSubstr("dactyla-text import FILE --lang ru|en [--min N] [--max N] [--caps N] [--out F]"));
    EXPECT_THAT(out.str(), HasSubstr("dactyla-text add PROGRAM_DIR USER FILE --lang ru|en [--caps N]"));
    EXPECT_EQ(err.str(), "");
}

TEST_F(DactylaTextRun, UsageErrorsExitWithTwoAndOneLine) {
    EXPECT_EQ(run({"check"}), kUsage);
    EXPECT_EQ(err.str(), "dactyla-text: check takes one FILE (see dactyla-text --help)\n");
    EXPECT_EQ(out.str(), "");
}

TEST_F(DactylaTextRun, CheckListsOffsetCountedLengthAndTheSentenceWithVisibleLineBreaks) {
    dir.write("t.txt", "Hello world. Short. Abc def\r\nghi jkl. Hyphen-\r\nated word here.");
    EXPECT_EQ(run({"check", dir.file("t.txt"), "--lang", "en"}), kSuccess);
    EXPECT_EQ(out.str(), "3 sentences in " + dir.file("t.txt") + " (English, length 10 to 120)\n"
                         "0\t12\tHello world.\n"
                         "20\t16\tAbc def ghi jkl.\n"
                         "38\t21\tHyphen- ated word here.\n");

    EXPECT_EQ(run({"check", dir.file("t.txt"), "--lang", "en", "--limit", "1", "--min", "13"}), kSuccess);
    EXPECT_EQ(out.str(), "2 sentences in " + dir.file("t.txt") + " (English, length 13 to 120)\n"
                         "20\t16\tAbc def ghi jkl.\n"
                         "... 1 more\n");
}

TEST_F(DactylaTextRun, CheckCountsWhatTheProgramIndexes) {
    // Passes the scanner with max 11 but its bytes do not fit: the program leaves it out.
    dir.write("t.txt", "Abcde -\r\nhi. Abcdefghi.");
    EXPECT_EQ(run({"check", dir.file("t.txt"), "--lang", "en", "--max", "11"}), kSuccess);
    EXPECT_THAT(out.str(), StartsWith("1 sentences"));
    EXPECT_THAT(out.str(), HasSubstr("13\t10\tAbcdefghi.\n"));
}

TEST_F(DactylaTextRun, CheckAndImportReadUtf8AndUtf16AsTheCp1251TheyStandFor) {
    // "Привет, мир. Ещё одно предложение!" in UTF-16 LE with its mark, and in UTF-8 without one.
    const std::u16string wide = u"\u041F\u0440\u0438\u0432\u0435\u0442, \u043C\u0438\u0440. "
                                u"\u0415\u0449\u0451 \u043E\u0434\u043D\u043E "
                                u"\u043F\u0440\u0435\u0434\u043B\u043E\u0436\u0435\u043D\u0438\u0435!";
    std::string utf16 = "\xFF\xFE";
    for (char16_t unit : wide) utf16 += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    dir.write("wide.txt", utf16);
    EXPECT_EQ(run({"check", dir.file("wide.txt")}), kSuccess) << err.str();
    EXPECT_THAT(out.str(), StartsWith("2 sentences in "));
    EXPECT_THAT(out.str(), HasSubstr("note: read as UTF-16 LE and converted to CP1251"));
    EXPECT_THAT(out.str(), HasSubstr("\n0\t12\t\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0.\n"));

    EXPECT_EQ(run({"import", dir.file("wide.txt"), "--lang", "ru"}), kSuccess);
    const std::string fromUtf16 = out.str();
    // The cleaning refuses "ё", whatever the encoding.
    EXPECT_EQ(fromUtf16, "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0.\r\n");
    EXPECT_EQ(err.str(), "1 sentences found in " + dir.file("wide.txt") + " (UTF-16 LE)\n");
    dir.write("utf8.txt", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, \xD0\xBC\xD0\xB8\xD1\x80. "
                          "\xD0\x95\xD1\x89\xD1\x91 \xD0\xBE\xD0\xB4\xD0\xBD\xD0\xBE "
                          "\xD0\xBF\xD1\x80\xD0\xB5\xD0\xB4\xD0\xBB\xD0\xBE\xD0\xB6\xD0\xB5\xD0\xBD\xD0\xB8\xD0\xB5!");
    EXPECT_EQ(run({"import", dir.file("utf8.txt"), "--lang", "ru"}), kSuccess);
    EXPECT_EQ(out.str(), fromUtf16);
    EXPECT_EQ(err.str(), "1 sentences found in " + dir.file("utf8.txt") + " (UTF-8)\n");
}

TEST_F(DactylaTextRun, CheckOfAFileThatCannotBeReadIsBadInput) {
    EXPECT_EQ(run({"check", dir.file("missing.txt")}), kBadInput);
    EXPECT_EQ(err.str(), "dactyla-text: cannot read " + dir.file("missing.txt") + " (missing or in use)\n");
    dir.write("held.txt", "Hello world.");
    platform::File holder = platform::File::open(dir.file("held.txt"), {.mode = platform::OpenMode::existing});
    ASSERT_TRUE(holder.isOpen());
    EXPECT_EQ(run({"check", dir.file("held.txt")}), kBadInput);
}

TEST_F(DactylaTextRun, ImportWritesWhatTheImportWouldAddAndCountsOnStandardError) {
    dir.write("book.txt", "It was a dark night. Don't quote me. The rain fell -\r\nhard  and cold. THE END OF IT.");
    const std::string added = "It was a dark night.\r\nThe rain fell - hard and cold.\r\n";
    EXPECT_EQ(run({"import", dir.file("book.txt"), "--lang", "en"}), kSuccess) << err.str();
    EXPECT_EQ(out.str(), added);
    EXPECT_EQ(err.str(), "2 sentences found in " + dir.file("book.txt") + " (CP1251)\n");

    EXPECT_EQ(run({"import", dir.file("book.txt"), "--lang", "en", "--caps", "3", "--min", "21", "--out",
                   dir.file("out.txt")}),
              kSuccess);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(dir.read("out.txt"), "The rain fell - hard and cold.\r\n");
    EXPECT_EQ(err.str(), "1 sentences found in " + dir.file("book.txt") + " (CP1251)\n");

    EXPECT_EQ(run({"import", dir.file("book.txt"), "--lang", "ru"}), kSuccess);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "0 sentences found in " + dir.file("book.txt") + " (CP1251)\n");
}

TEST_F(DactylaTextRun, ImportOfAFileThatCannotBeReadOrWrittenIsBadInput) {
    EXPECT_EQ(run({"import", dir.file("missing.txt"), "--lang", "en"}), kBadInput);
    EXPECT_EQ(err.str(), "dactyla-text: cannot read " + dir.file("missing.txt") + " (missing or in use)\n");
    dir.write("book.txt", "It was a dark night.");
    EXPECT_EQ(run({"import", dir.file("book.txt"), "--lang", "en", "--out", dir.file("no/such/dir")}), kBadInput);
    EXPECT_THAT(err.str(), HasSubstr("cannot write"));
}

class DactylaTextIndex : public DactylaTextRun {
protected:
    DactylaTextIndex() {
        platform::createDirectory(dir.file("Users"));
        platform::createDirectory(user());
        dir.write("TextData.Eng", "Hello world. A second one here! Short. And a third sentence?");
    }
    std::string user() const { return platform::joinPath(dir.file("Users"), "Ann"); }
    void writeOptionsFile(const std::string& bytes) const {
        platform::File file = platform::File::open(platform::joinPath(user(), "Options.dat"),
                                                   {.mode = platform::OpenMode::createAlways});
        ASSERT_EQ(file.write(bytes.data(), bytes.size()), bytes.size());
    }
    std::string index() const { return platform::readWholeFile(platform::joinPath(user(), "random.eng")).value_or(""); }
};

TEST_F(DactylaTextIndex, BuildsThenValidatesTheIndexAsTheProgramDoes) {
    EXPECT_EQ(run({"index", dir.path(), "Ann", "--lang", "en"}), kSuccess) << err.str();
    EXPECT_THAT(out.str(), HasSubstr("random.eng (rebuilt)"));
    EXPECT_THAT(out.str(), HasSubstr("header    textSize 60, minLength 10, maxLength 120, position 0\n"));
    EXPECT_THAT(out.str(), HasSubstr("sentences 3\n"));
    EXPECT_EQ(index().size(), kIndexHeaderSize + 9);
    EXPECT_FALSE(platform::fileExists(platform::joinPath(user(), "Options.dat"))) << "the tool creates no options";

    EXPECT_EQ(run({"index", dir.path(), "Ann", "--lang", "en"}), kSuccess);
    EXPECT_THAT(out.str(), HasSubstr("random.eng (valid)"));

    // The program would see the same index as valid.
    Options options;
    options.russian = 0;
    auto corpus = openCorpus(options, dir.path(), user());
    ASSERT_TRUE(corpus);
    EXPECT_FALSE(corpus->rebuiltOnOpen());
}

TEST_F(DactylaTextIndex, TakesTheLengthWindowFromTheUsersOptions) {
    // Options.dat: totals 0 and 0, minLength 13, maxLength 120, timer 300, flags 0.
    writeOptionsFile(std::string("\0\0\0\0\0\0\0\0\x0D\0\x78\0\x2C\x01\0\0", 16));
    EXPECT_EQ(run({"index", dir.path(), "Ann", "--lang", "en"}), kSuccess) << err.str();
    EXPECT_THAT(out.str(), HasSubstr("minLength 13, maxLength 120"));
    EXPECT_THAT(out.str(), HasSubstr("sentences 2\n"));
}

TEST_F(DactylaTextIndex, ProblemsWithTheFoldersOrFilesAreBadInput) {
    EXPECT_EQ(run({"index", dir.file("nowhere"), "Ann", "--lang", "en"}), kBadInput);
    EXPECT_EQ(err.str(), "dactyla-text: no program directory " + dir.file("nowhere") + "\n");
    EXPECT_EQ(run({"index", dir.path(), "Bob", "--lang", "en"}), kBadInput);
    EXPECT_THAT(err.str(), HasSubstr("no user directory"));
    EXPECT_EQ(run({"index", dir.path(), "..", "--lang", "en"}), kBadInput);
    EXPECT_EQ(run({"index", dir.path(), "a/b", "--lang", "en"}), kBadInput);

    platform::File holder = platform::File::open(dir.file("TextData.Eng"), {.mode = platform::OpenMode::existing});
    ASSERT_TRUE(holder.isOpen());
    EXPECT_EQ(run({"index", dir.path(), "Ann", "--lang", "en"}), kBadInput);
    EXPECT_EQ(err.str(), "dactyla-text: cannot open the text file (read-only folder, or in use by Dactyla)\n");
    holder.close();

    writeOptionsFile(std::string(16, '\0'));
    holder = platform::File::open(platform::joinPath(user(), "Options.dat"), {.mode = platform::OpenMode::existing});
    ASSERT_TRUE(holder.isOpen());
    EXPECT_EQ(run({"index", dir.path(), "Ann", "--lang", "en"}), kBadInput);
    EXPECT_THAT(err.str(), HasSubstr("Options.dat (in use by Dactyla)"));
}

TEST_F(DactylaTextIndex, AddGrowsTheTextAndTheIndexAndTheNextIndexRebuildsWithAll) {
    ASSERT_EQ(run({"index", dir.path(), "Ann", "--lang", "en"}), kSuccess);
    dir.write("book.txt", "Brand new sentence one. Not 'this' one. Brand new sentence two!");
    EXPECT_EQ(run({"add", dir.path(), "Ann", dir.file("book.txt"), "--lang", "en"}), kSuccess) << err.str();
    EXPECT_THAT(out.str(), HasSubstr("found     2 sentences"));
    EXPECT_THAT(out.str(), HasSubstr("sentences 3 before, 5 now\n"));
    EXPECT_EQ(dir.read("TextData.Eng"), "Hello world. A second one here! Short. And a third sentence?\r\n"
                                        "Brand new sentence one.\r\nBrand new sentence two!\r\n");

    EXPECT_EQ(run({"index", dir.path(), "Ann", "--lang", "en"}), kSuccess);
    EXPECT_THAT(out.str(), HasSubstr("random.eng (rebuilt)"));
    EXPECT_THAT(out.str(), HasSubstr("sentences 5\n"));
}

TEST_F(DactylaTextIndex, AddTakesTheCapitalRunsFromTheUsersOptionsUnlessGiven) {
    // Options.dat: minLength 10, maxLength 120, timer 300; flags with a capital-run limit of 1.
    writeOptionsFile(std::string("\0\0\0\0\0\0\0\0\x0A\0\x78\0\x2C\x01", 14) + packedFlagsWithCaps(1));
    dir.write("book.txt", "An OK sentence here.");
    EXPECT_EQ(run({"add", dir.path(), "Ann", dir.file("book.txt"), "--lang", "en"}), kSuccess) << err.str();
    EXPECT_THAT(out.str(), HasSubstr("found     0 sentences"));
    EXPECT_EQ(run({"add", dir.path(), "Ann", dir.file("book.txt"), "--lang", "en", "--caps", "2"}), kSuccess);
    EXPECT_THAT(out.str(), HasSubstr("found     1 sentences"));
}

TEST_F(DactylaTextIndex, AddRefusesTheProgramsOwnTextAndWhatCannotBeRead) {
    EXPECT_EQ(run({"add", dir.path(), "Ann", dir.file("TextData.Eng"), "--lang", "en"}), kBadInput);
    EXPECT_EQ(err.str(), "dactyla-text: " + dir.file("TextData.Eng") + " is the program's own text\n");
    EXPECT_EQ(run({"add", dir.path(), "Ann", dir.file("missing.txt"), "--lang", "en"}), kBadInput);
    EXPECT_THAT(err.str(), HasSubstr("missing or in use"));
    EXPECT_EQ(run({"add", dir.path(), "Bob", dir.file("missing.txt"), "--lang", "en"}), kBadInput);
    EXPECT_THAT(err.str(), HasSubstr("no user directory"));
    EXPECT_EQ(dir.read("TextData.Eng"), "Hello world. A second one here! Short. And a third sentence?");
}

#ifndef _WIN32
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// The tool finds an installed program's users and texts where the program keeps them.
TEST_F(DactylaTextRun, AnInstalledFolderKeepsItsUsersAndTextsInTheProfile) {
    testing::TempDir home;
    const ScopedEnvironment dataHome("XDG_DATA_HOME", home.path());
    const std::string profile = platform::joinPath(home.path(), "Dactyla");
    const std::string user = platform::joinPath(platform::joinPath(profile, "Users"), "Ann");
    dir.write("installed.mark", "");
    dir.write("TextData.Eng", "Hello world. A second one here!");
    ASSERT_TRUE(platform::createDirectory(profile));
    ASSERT_TRUE(platform::createDirectory(platform::joinPath(profile, "Users")));
    ASSERT_TRUE(platform::createDirectory(user));

    EXPECT_EQ(run({"index", dir.path(), "Ann", "--lang", "en"}), kSuccess) << err.str();
    EXPECT_THAT(out.str(), HasSubstr("text      " + platform::joinPath(profile, "TextData.Eng") + "\n"));
    EXPECT_TRUE(platform::fileExists(platform::joinPath(user, "random.eng")));
    EXPECT_EQ(platform::readWholeFile(platform::joinPath(profile, "TextData.Eng")), "Hello world. A second one here!");
    EXPECT_FALSE(platform::directoryExists(dir.file("Users")));
}
#endif

}  // namespace
}  // namespace dactyla::text_tool
