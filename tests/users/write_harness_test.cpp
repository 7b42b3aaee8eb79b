// Every rewrite of a file of the program's own, stopped after each byte it writes, with its
// temporary refused, or meeting any one failing open, write, flush or replace, must leave what
// the program reads back either as it was or as intended, and no temporary behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/whole_file.h"
#include "corpus/own_text.h"
#include "course/course_files.h"
#include "drill/drill_source.h"
#include "guide/keyboard_choice.h"
#include "platform/directory.h"
#include "platform/fault_injection.h"
#include "platform/file.h"
#include "progress/key_statistics.h"
#include "support/temp_dir.h"
#include "users/interface_language.h"
#include "users/options_file.h"
#include "users/results_log.h"
#include "users/user_registry.h"
#include "weak_keys/weak_key_log.h"

namespace dactyla {
namespace {

using testing::TempDir;

struct WriteRow {
    const char* name;
    std::string temporary;  // the file name whose opening the second fault refuses
    std::function<void(const TempDir&)> makeOld;
    std::function<void(const std::string& dir)> writeNew;
    // What the program reads back, as one comparable string.
    std::function<std::string(const std::string& dir)> readBack;
};

KeyCounts countsOf(unsigned char key, int correct, int wrong) {
    KeyCounts counts;
    for (int i = 0; i < correct; ++i) counts.countCorrect(key);
    for (int i = 0; i < wrong; ++i) counts.countWrong(key, 'x');
    return counts;
}

std::string readStatistics(const std::string& dir) {
    const LoadedKeyStatistics loaded = loadKeyStatistics(keyStatisticsPath(dir, true));
    return std::to_string(static_cast<int>(loaded.state)) + encodeKeyStatistics({loaded.counts, loaded.timing});
}

const std::vector<std::string> kTags = {"ru", "en"};

std::string readFile(const std::string& dir, const std::string& name) {
    return platform::readWholeFile(platform::joinPath(dir, name)).value_or("none");
}

std::string readCourseState(const std::string& dir) {
    const LoadedCourseState loaded = loadCourseState(courseStatePath(dir, true));
    return std::to_string(static_cast<int>(loaded.state)) + encodeCourseState(loaded.course);
}

CourseLogEntry courseEntry(std::uint32_t speed) {
    return {.date = {.year = 2026, .month = 12, .day = 9}, .speed = speed, .errorPercent = 2.5f, .minutes = 3,
            .seconds = 4, .unlockedKeys = 6, .focus = 0};
}

// The text as the corpus then opens it, and whether its original is kept beside it.
std::string readOwnText(const std::string& dir) {
    bool kept = false;
    for (const auto& entry : platform::listDirectory(dir)) kept = kept || entry.name.ends_with(".original");
    return readFile(dir, "TextData.Rus") + (kept ? " and its original" : "");
}

// "Мир. Дом." in UTF-8 and in CP1251.
const std::string kUtf8Text = "\xD0\x9C\xD0\xB8\xD1\x80. \xD0\x94\xD0\xBE\xD0\xBC.\r\n";

std::vector<WriteRow> rows() {
    Options russian;
    russian.russian = 1;
    return {
        {"results log", "Results - Rus.txt.new",
         [](const TempDir& dir) { dir.write("Results - Rus.txt", " 01.02.2026    120  2.5%   3:04\r\n"); },
         [russian](const std::string& dir) {
             appendResult(dir, russian, {.speed = 250, .errorPercent = 1.5f, .minutes = 5, .seconds = 6},
                          {.year = 2026, .month = 12, .day = 9});
         },
         [](const std::string& dir) {
             return platform::readWholeFile(platform::joinPath(dir, "Results - Rus.txt")).value_or("none");
         }},
        {"key statistics", "Keys - Rus.dat.new",
         [](const TempDir& dir) {
             dir.write("Keys - Rus.dat", encodeKeyStatistics({countsOf('a', 7, 2), {}}));
         },
         [](const std::string& dir) { addKeyStatistics(dir, true, countsOf('b', 3, 1)); }, readStatistics},
        {"interface language", "Interface.txt.new", [](const TempDir& dir) { dir.write("Interface.txt", "ru\r\n"); },
         [](const std::string& dir) { storeInterfaceLanguage(dir, "en", kTags); },
         [](const std::string& dir) { return loadInterfaceLanguage(dir, kTags).tag; }},
        {"drill source", "Drill source.txt.new",
         [](const TempDir& dir) { dir.write("Drill source.txt", formatDrillSource(DrillSource::course)); },
         [](const std::string& dir) { writeDrillSource(dir, DrillSource::weakKeys); },
         [](const std::string& dir) { return std::to_string(static_cast<int>(readDrillSource(dir))); }},
        {"keyboard choice", "Keyboard.dat.new",
         [](const TempDir& dir) {
             dir.write("Keyboard.dat", encodeKeyboardChoice({.mode = KeyboardMode::always, .userChose = true}));
         },
         [](const std::string& dir) { saveKeyboardChoice(dir, {.mode = KeyboardMode::guide, .userChose = true}); },
         [](const std::string& dir) { return encodeKeyboardChoice(loadKeyboardChoice(dir).choice); }},
        {"data-root copy", "TextData.Rus.part",
         [](const TempDir& dir) {
             dir.write("shipped", std::string(70000, 's'));
             dir.write("TextData.Rus", "the user's older copy");
         },
         [](const std::string& dir) {
             copyWholeFile(platform::joinPath(dir, "shipped"), platform::joinPath(dir, "TextData.Rus"));
         },
         [](const std::string& dir) {
             return platform::readWholeFile(platform::joinPath(dir, "TextData.Rus")).value_or("none");
         }},
        {"course state", "Course - Rus.dat.new",
         [](const TempDir& dir) {
             dir.write("Course - Rus.dat", encodeCourseState({.progress = {.unlocked = "\xE0\xEE", .focus = '\xE0'}, .targets = {}}));
         },
         [](const std::string& dir) {
             saveCourseState(courseStatePath(dir, true), {.progress = {.unlocked = "\xE0\xEE\xE5", .focus = '\xE5'}, .targets = {}});
         },
         readCourseState},
        {"course log", "Course log - Rus.txt.new",
         [](const TempDir& dir) { dir.write("Course log - Rus.txt", encodeCourseLog({courseEntry(100)})); },
         [](const std::string& dir) { appendCourseLog(courseLogPath(dir, true), courseEntry(180)); },
         [](const std::string& dir) { return readFile(dir, "Course log - Rus.txt"); }},
        {"weak-keys log", "Weak keys - Rus.txt.new",
         [](const TempDir& dir) { dir.write("Weak keys - Rus.txt", "an older line\r\n"); },
         [](const std::string& dir) {
             appendWeakKeysLog(dir, true, {.speed = 90, .errorPercent = 4.0f, .minutes = 1, .seconds = 2}, {},
                               {.year = 2026, .month = 12, .day = 9});
         },
         [](const std::string& dir) { return readFile(dir, "Weak keys - Rus.txt"); }},
        {"own-text conversion", "TextData.Rus.new", [](const TempDir& dir) { dir.write("TextData.Rus", kUtf8Text); },
         [](const std::string& dir) {
             const std::string path = platform::joinPath(dir, "TextData.Rus");
             const platform::OpenOptions reopen {.mode = platform::OpenMode::existing, .readOnly = true};
             platform::File text = platform::File::open(path, reopen);
             convertForeignText(path, text, reopen);
         },
         readOwnText},
    };
}

std::uint64_t bytesInFolder(const std::string& dir) {
    std::uint64_t total = 0;
    for (const auto& entry : platform::listDirectory(dir)) {
        const platform::File file = platform::File::open(platform::joinPath(dir, entry.name),
                                                         {.mode = platform::OpenMode::existing, .readOnly = true});
        total += file.size().value_or(0);
    }
    return total;
}

// No temporary or part is left behind.
void expectNoLeftovers(const std::string& dir, const WriteRow& row, const std::string& fault) {
    for (const auto& entry : platform::listDirectory(dir)) {
        EXPECT_FALSE(entry.name.ends_with(".new") || entry.name.ends_with(".part"))
            << row.name << " " << fault << " left " << entry.name;
    }
}

// What the program reads back before the write and after it has run in full.
struct Outcomes {
    std::string oldRead;
    std::string newRead;
};

Outcomes outcomesOf(const WriteRow& row) {
    const TempDir before;
    row.makeOld(before);
    const TempDir after;
    row.makeOld(after);
    row.writeNew(after.path());
    return {row.readBack(before.path()), row.readBack(after.path())};
}

using Fault = std::function<void(platform::ScopedFileFaults&)>;

// Runs the row's write from its old files under `fault` and returns what is read back then.
std::string readAfterFaultyWrite(const WriteRow& row, const Fault& fault, const std::string& what) {
    const TempDir dir;
    row.makeOld(dir);
    {
        platform::ScopedFileFaults faults;
        fault(faults);
        row.writeNew(dir.path());
    }
    expectNoLeftovers(dir.path(), row, what);
    return row.readBack(dir.path());
}

void expectOldOrNew(const WriteRow& row, const Outcomes& outcomes, const Fault& fault, const std::string& what) {
    const std::string read = readAfterFaultyWrite(row, fault, what);
    EXPECT_TRUE(read == outcomes.oldRead || read == outcomes.newRead) << row.name << " " << what;
}

int callsOfUnfaultedWrite(const WriteRow& row, platform::FileCall call) {
    const TempDir dir;
    row.makeOld(dir);
    platform::ScopedFileFaults faults;
    row.writeNew(dir.path());
    return faults.callsMade(call);
}

const char* callName(platform::FileCall call) {
    switch (call) {
        case platform::FileCall::open: return "open";
        case platform::FileCall::write: return "write";
        case platform::FileCall::flush: return "flush";
        case platform::FileCall::replace: return "replace";
    }
    return "?";
}

TEST(WriteHarness, EveryRewriteStoppedAfterAnyByteOrRefusedItsTemporaryLeavesTheOldOrTheNew) {
    for (const WriteRow& row : rows()) {
        const Outcomes outcomes = outcomesOf(row);
        ASSERT_NE(outcomes.oldRead, outcomes.newRead) << row.name << ": the write must change what is read";

        // Every byte count of the small files; about 300 counts spread over the large ones.
        const TempDir after;
        row.makeOld(after);
        row.writeNew(after.path());
        const std::uint64_t written = bytesInFolder(after.path());
        const std::uint64_t step = std::max<std::uint64_t>(1, written / 300);
        for (std::uint64_t stop = 0; stop <= written; stop += step) {
            expectOldOrNew(row, outcomes, [stop](platform::ScopedFileFaults& faults) { faults.failWritesAfter(stop); },
                           "stopped after " + std::to_string(stop) + " bytes");
        }

        const std::string refused = readAfterFaultyWrite(
            row, [&row](platform::ScopedFileFaults& faults) { faults.failOpensOf(row.temporary); },
            "with its temporary refused");
        EXPECT_EQ(refused, outcomes.oldRead) << row.name << " with its temporary refused";
    }
}

// Each open, write, flush and replace the write makes, failed in turn.
TEST(WriteHarness, EveryRewriteMeetingAFailingOpenWriteFlushOrReplaceLeavesTheOldOrTheNew) {
    for (const WriteRow& row : rows()) {
        const Outcomes outcomes = outcomesOf(row);
        for (const platform::FileCall call : platform::kFileCalls) {
            const int calls = callsOfUnfaultedWrite(row, call);
            EXPECT_GT(calls, 0) << row.name << " makes no " << callName(call) << ": the row proves nothing about it";
            for (int nth = 1; nth <= calls; ++nth) {
                expectOldOrNew(row, outcomes,
                               [call, nth](platform::ScopedFileFaults& faults) { faults.failCall(call, nth); },
                               "with " + std::string(callName(call)) + " " + std::to_string(nth) + " of " +
                                   std::to_string(calls) + " failing");
            }
        }
    }
}

// Options.dat keeps its stored format: held open while its user is current and written in place,
// the settings as one 8-byte write at offset 8, the totals as one at offset 0. A write cut inside
// those 8 bytes leaves the new bytes before the cut and the old ones after it, a mix the format
// cannot tell from a real value: the next start must still find the user, say nothing and keep
// every setting within its limits.
struct InPlaceWrite {
    const char* name;
    std::string oldFile;
    std::uint64_t offset;
    std::function<void(LiveOptions&)> write;
};

std::string littleEndian(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

std::string optionsFile(std::uint32_t characters, std::uint32_t seconds, const Options& options) {
    return littleEndian(characters, 4) + littleEndian(seconds, 4) + littleEndian(options.minLength, 2) +
           littleEndian(options.maxLength, 2) + littleEndian(options.timerSeconds, 2) +
           littleEndian(packOptionFlags(options), 2);
}

Options storedOptions() {
    Options options;
    options.minLength = 20;
    options.maxLength = 90;
    options.timerSeconds = 600;
    return options;
}

Options changedOptions() {
    Options options;
    options.minLength = 30;
    options.maxLength = 100;
    options.timerSeconds = 1200;
    options.russian = 0;
    options.backgroundSound = 0;
    options.maxCapitalRun = 7;
    options.picture = 0;
    return options;
}

std::vector<InPlaceWrite> inPlaceWrites() {
    return {
        {"settings", optionsFile(1000, 3600, storedOptions()), 8,
         [](LiveOptions& live) {
             live.options = changedOptions();
             writeOptions(live);
         }},
        // A new user's file holds only the zero totals until the first settings are stored.
        {"a new user's first settings", std::string(8, '\0'), 8,
         [](LiveOptions& live) {
             live.options = changedOptions();
             writeOptions(live);
         }},
        {"totals", optionsFile(1000, 3600, storedOptions()), 0,
         [](LiveOptions& live) { addTotals(live, 150, 125); }},
    };
}

class SilentHost : public UserHost {
public:
    void addUserMenuItem(const std::string&, std::int32_t) override {}
    void checkUserItem(std::int32_t) override {}
    void checkAlphabetItem() override {}
    void showError(const std::string& text, const std::string&) override { errors.push_back(text); }
    void closeCorpus() override {}
    void openCorpus() override {}

    std::vector<std::string> errors;
};

const std::string kUser = "Anna";

std::string optionsPath(const TempDir& program) {
    return platform::joinPath(platform::joinPath(platform::joinPath(program.path(), "Users"), kUser), "Options.dat");
}

void addUser(const TempDir& program, const std::string& optionsBytes) {
    platform::createDirectory(platform::joinPath(program.path(), "Users"));
    platform::createDirectory(platform::joinPath(platform::joinPath(program.path(), "Users"), kUser));
    platform::File file = platform::File::open(optionsPath(program), {.mode = platform::OpenMode::createAlways});
    file.write(optionsBytes.data(), optionsBytes.size());
}

// Opens the user's file as the program does at start, makes the write (cut after `stop` bytes
// when given) and lets the file go.
void writeInPlace(const TempDir& program, const InPlaceWrite& write, std::optional<std::uint64_t> stop) {
    LiveOptions live;
    readOptions(live, platform::joinPath(platform::joinPath(program.path(), "Users"), kUser));
    platform::ScopedFileFaults faults;
    if (stop) faults.failWritesAfter(*stop);
    write.write(live);
}

// The next start: the registry finds the users and loads the current one's settings.
struct Reopened {
    bool userKept = false;
    std::vector<std::string> messages;
    Options options;
    Totals totals;
};

Reopened reopen(const TempDir& program) {
    LiveOptions live;
    SilentHost host;
    UserRegistry registry(program.path(), live, host);
    Reopened reopened;
    reopened.userKept = registry.loadUsers() && registry.currentUser() && registry.currentUser()->name == kUser;
    reopened.messages = host.errors;
    reopened.options = live.options;
    reopened.totals = readTotals(live);
    return reopened;
}

bool withinLimits(const Options& options) {
    return kShortestSentence <= options.minLength && options.minLength <= options.maxLength &&
           options.maxLength <= kLongestSentence && options.timerSeconds <= kLongestTimer &&
           options.maxCapitalRun <= 15 && options.picture <= 1;
}

bool sameAs(const Reopened& reopened, const Reopened& other) {
    return reopened.options == other.options && reopened.totals.characters == other.totals.characters &&
           reopened.totals.seconds == other.totals.seconds;
}

TEST(WriteHarness, OptionsCutInsideTheirFieldsReopenWithTheUserAndSettingsWithinLimitsAndNoMessage) {
    for (const InPlaceWrite& write : inPlaceWrites()) {
        const TempDir before;
        addUser(before, write.oldFile);
        const Reopened oldRead = reopen(before);
        const TempDir after;
        addUser(after, write.oldFile);
        writeInPlace(after, write, std::nullopt);
        const std::string newFile = *platform::readWholeFile(optionsPath(after));
        const Reopened newRead = reopen(after);
        ASSERT_FALSE(sameAs(oldRead, newRead)) << write.name << ": the write must change what is read";

        for (std::uint64_t stop = 0; stop <= 8; ++stop) {
            const std::string what = std::string(write.name) + " cut after " + std::to_string(stop) + " bytes";
            const TempDir program;
            addUser(program, write.oldFile);
            writeInPlace(program, write, stop);

            std::string expected = write.oldFile;
            expected.replace(write.offset, stop, newFile.substr(write.offset, stop));
            EXPECT_EQ(platform::readWholeFile(optionsPath(program)), expected)
                << what << ": only the bytes before the cut change";

            const Reopened read = reopen(program);
            EXPECT_TRUE(read.userKept) << what;
            EXPECT_TRUE(read.messages.empty()) << what;
            EXPECT_TRUE(withinLimits(read.options)) << what;
            if (stop == 0) {
                EXPECT_TRUE(sameAs(read, oldRead)) << what;
            }
            if (stop == 8) {
                EXPECT_TRUE(sameAs(read, newRead)) << what;
            }
        }
    }
}

}  // namespace
}  // namespace dactyla
