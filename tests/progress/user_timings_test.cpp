// The key timings the course and the guide judge by: the stored statistics of the user and
// language with the running session's keystrokes added.
#include "progress/user_timings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/file.h"
#include "progress/mastery.h"
#include "support/temp_dir.h"
#include "progress/key_statistics.h"

namespace dactyla {
namespace {

using dactyla::testing::TempDir;

TimedKeystroke right(unsigned char key, std::uint32_t latencyMs, bool hinted = false) {
    return {.expected = key, .previous = 'x', .correct = true, .hinted = hinted, .timed = true,
            .latencyMs = latencyMs, .reactionMs = latencyMs};
}
TimedKeystroke wrong(unsigned char key) { return {.expected = key}; }

std::vector<TimedKeystroke> repeated(const TimedKeystroke& keystroke, int count) {
    return std::vector<TimedKeystroke>(static_cast<std::size_t>(count), keystroke);
}

std::vector<TimedKeystroke> joined(std::initializer_list<std::vector<TimedKeystroke>> parts) {
    std::vector<TimedKeystroke> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Keys as a stored session left them.
KeyStatistics storedAfter(const std::vector<TimedKeystroke>& keystrokes) {
    KeyStatistics statistics;
    for (const TimedKeystroke& k : keystrokes) {
        if (k.correct) statistics.counts.countCorrect(k.expected);
        else statistics.counts.countWrong(k.expected, 'z');
    }
    statistics.timing.addSession(keystrokes);
    return statistics;
}

bool store(const std::string& userDirectory, bool russian, const std::string& bytes) {
    std::ofstream file(keyStatisticsPath(userDirectory, russian), std::ios::binary | std::ios::trunc);
    file << bytes;
    return static_cast<bool>(file.flush());
}

// What mastery reads of a key; the session smoothing is the stored file's alone.
bool sameFigures(const KeyTiming& a, const KeyTiming& b) {
    return a.latencies == b.latencies && a.outcomes == b.outcomes && a.hesitations == b.hesitations &&
           a.hintedPresses == b.hintedPresses;
}

const std::vector<TimedKeystroke> kStoredSession =
    joined({repeated(right('f', 300), 25), repeated(wrong('j'), 2), repeated(right('j', 500), 20)});

TEST(UserTimings, AddsTheSessionToTheStoredTimingsAsStoringItWould) {
    const std::vector<TimedKeystroke> session = joined({repeated(right('f', 250), 10), {wrong('f')},
                                                        {right('f', 9000)}, repeated(right('k', 200), 30),
                                                        {right('j', 400, true)}, {wrong('j')}});
    struct Case {
        const char* name;
        std::vector<std::size_t> followedAt;  // how many session keystrokes each follow sees
    };
    const Case cases[] = {
        {"all at the end", {session.size()}},
        {"keystroke by keystroke", {}},
        {"at line ends", {5, 12, 13, 40, session.size()}},
        {"asked twice with nothing new", {12, 12, session.size(), session.size()}},
    };
    TempDir dir;
    ASSERT_TRUE(store(dir.path(), true, encodeKeyStatistics(storedAfter(kStoredSession))));
    TimingStatistics expected = storedAfter(kStoredSession).timing;
    expected.addSession(session);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::size_t> points = c.followedAt;
        if (points.empty())
            for (std::size_t n = 0; n <= session.size(); ++n) points.push_back(n);
        UserTimings timings;
        timings.load(dir.path(), true);
        EXPECT_EQ(timings.stored(), StoredFileState::valid);
        for (std::size_t n : points) timings.follow(std::span(session).first(n));
        for (unsigned char key : {'f', 'j', 'k', 'q'})
            EXPECT_TRUE(sameFigures(timings.key(key), expected.key(key))) << key;
        EXPECT_EQ(timings.key('f').hesitations, 1u) << "9 s is judged against the stored median";
    }
}

TEST(UserTimings, MasteryRisesWithinTheSession) {
    TempDir dir;
    ASSERT_TRUE(store(dir.path(), false, encodeKeyStatistics(storedAfter(repeated(right('g', 300), 19)))));
    UserTimings timings;
    timings.load(dir.path(), false);
    EXPECT_FALSE(mastery(timings.key('g')).has_value()) << "19 samples stored: not yet known";
    const std::vector<TimedKeystroke> session = repeated(right('g', 300), 20);
    timings.follow(std::span(session).first(1));
    ASSERT_TRUE(mastery(timings.key('g')).has_value()) << "the session's first clean press makes 20";
    const double early = *mastery(timings.key('g'));
    timings.follow(session);
    EXPECT_GT(*mastery(timings.key('g')), early);
    EXPECT_DOUBLE_EQ(*mastery(timings.key('g')), 1.0);
    EXPECT_FALSE(mastery(timings.key('h')).has_value()) << "a key never typed stays unknown";
    EXPECT_EQ(timings.key(0xE0), KeyTiming {}) << "nor does a byte of the other language";
}

TEST(UserTimings, ANewSessionStartsAgainFromTheStoredTimings) {
    TempDir dir;
    UserTimings timings;
    timings.load(dir.path(), true);
    const std::vector<TimedKeystroke> first = repeated(right('a', 300), 30);
    timings.follow(first);
    EXPECT_EQ(timings.key('a').latencies.size(), 30u);
    // The first session could not be stored: the second begins with fewer keystrokes.
    const std::vector<TimedKeystroke> second = repeated(right('a', 300), 3);
    timings.follow(second);
    EXPECT_EQ(timings.key('a').latencies.size(), 3u);
    timings.load(dir.path(), true);
    EXPECT_EQ(timings.key('a'), KeyTiming {}) << "a load forgets the session: it is in the file or lost";
}

TEST(UserTimings, EachLanguageHasItsOwn) {
    TempDir dir;
    ASSERT_TRUE(store(dir.path(), true, encodeKeyStatistics(storedAfter(repeated(right(0xE0, 300), 25)))));
    ASSERT_TRUE(store(dir.path(), false, encodeKeyStatistics(storedAfter(repeated(right('a', 500), 21)))));
    struct Case {
        const char* name;
        bool russian;
        unsigned char key;
        std::size_t samples;
        unsigned char otherKey;
    };
    const Case cases[] = {
        {"Russian", true, 0xE0, 25, 'a'},
        {"English", false, 'a', 21, 0xE0},
        {"Russian again", true, 0xE0, 25, 'a'},
    };
    UserTimings timings;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        timings.follow(repeated(right(c.otherKey, 300), 5));
        timings.load(dir.path(), c.russian);
        EXPECT_EQ(timings.key(c.key).latencies.size(), c.samples);
        EXPECT_EQ(timings.key(c.otherKey), KeyTiming {}) << "nothing of the other language or the last session";
    }
    timings.clear();
    EXPECT_EQ(timings.key(0xE0), KeyTiming {}) << "no user: no timings";
    EXPECT_EQ(timings.stored(), StoredFileState::missing);
}

TEST(UserTimings, AFileThatCannotBeUsedGivesNoTimingsAndStaysAsItWas) {
    const std::string good = encodeKeyStatistics(storedAfter(repeated(right('s', 300), 40)));
    std::string badChecksum = good;
    badChecksum[100] = static_cast<char>(badChecksum[100] ^ 1);
    struct Case {
        const char* name;
        std::optional<std::string> bytes;  // none: no file
        StoredFileState state;
        std::size_t samples;
    };
    const Case cases[] = {
        {"missing", std::nullopt, StoredFileState::missing, 0},
        {"empty", std::string(), StoredFileState::damaged, 0},
        {"cut short", good.substr(0, good.size() - 1), StoredFileState::damaged, 0},
        {"checksum wrong", badChecksum, StoredFileState::damaged, 0},
        {"foreign", std::string(kKeyStatisticsSize, 'z'), StoredFileState::damaged, 0},
        {"good", good, StoredFileState::valid, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = keyStatisticsPath(dir.path(), false);
        if (c.bytes) {
            ASSERT_TRUE(store(dir.path(), false, *c.bytes));
        }
        UserTimings timings;
        timings.load(dir.path(), false);
        EXPECT_EQ(timings.stored(), c.state);
        EXPECT_EQ(timings.key('s').latencies.size(), c.samples);
        const std::vector<TimedKeystroke> session = repeated(right('s', 300), 20);
        timings.follow(session);
        EXPECT_EQ(timings.key('s').latencies.size(), std::min<std::size_t>(c.samples + 20, kLatencySamples))
            << "the session counts all the same";
        EXPECT_EQ(platform::fileExists(path), c.bytes.has_value());
        if (c.bytes) {
            EXPECT_EQ(platform::readWholeFile(path), c.bytes) << "reading changes nothing";
        }
        EXPECT_FALSE(platform::fileExists(path + ".damaged")) << "setting aside is for the next store";
    }
}

}  // namespace
}  // namespace dactyla
