#include "users/options_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/directory.h"
#include "support/temp_dir.h"

namespace dactyla {
namespace {

using testing::TempDir;

std::string u16(std::uint16_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

std::string u32(std::uint32_t value) { return u16(static_cast<std::uint16_t>(value)) + u16(value >> 16); }

std::string optionsFile(std::uint32_t characters, std::uint32_t seconds, std::uint16_t minLength,
                        std::uint16_t maxLength, std::uint16_t timer, std::uint16_t flags) {
    return u32(characters) + u32(seconds) + u16(minLength) + u16(maxLength) + u16(timer) + u16(flags);
}

// Reads `content` as the user's Options.dat and returns the live settings it leaves.
Options loadFrom(const TempDir& dir, const std::string& content, const Options& before = {}) {
    dir.write("Options.dat", content);
    LiveOptions live;
    live.options = before;
    readOptions(live, dir.path());
    return live.options;
}

TEST(OptionsRecord, DefaultsAreTheDocumentedOnes) {
    const Options options;
    EXPECT_EQ(options.minLength, 10);
    EXPECT_EQ(options.maxLength, 120);
    EXPECT_EQ(options.timerSeconds, 300);
    EXPECT_EQ(packOptionFlags(options), 0x1435) << "bits 0, 2, 4, 5, run 4, picture 1";
}

TEST(OptionsRecord, ClampLengthsKeepsTheWindowInsideTenToOneHundredTwenty) {
    struct Case {
        std::uint16_t min, max, wantMin, wantMax;
    };
    const Case cases[] = {
        {5, 200, 10, 120},  {90, 30, 90, 90},   {0, 0, 10, 10},   {121, 121, 120, 120},
        {500, 9, 120, 120}, {10, 120, 10, 120}, {50, 60, 50, 60}, {0xFFFF, 0xFFFF, 120, 120},
    };
    for (const Case& c : cases) {
        Options options;
        options.minLength = c.min;
        options.maxLength = c.max;
        clampLengths(options);
        EXPECT_EQ(options.minLength, c.wantMin) << c.min << ".." << c.max;
        EXPECT_EQ(options.maxLength, c.wantMax) << c.min << ".." << c.max;
    }
}

TEST(OptionsRecord, EqualityComparesEveryOneOfTheElevenFields) {
    const Options base;
    EXPECT_TRUE(base == base);
    std::uint16_t Options::*wide[] = {&Options::minLength, &Options::maxLength, &Options::timerSeconds};
    for (auto field : wide) {
        Options other;
        other.*field = static_cast<std::uint16_t>(other.*field + 1);
        EXPECT_FALSE(base == other);
        EXPECT_FALSE(other == base);
    }
    std::uint8_t Options::*narrow[] = {
        &Options::russian,      &Options::alphabetMode,    &Options::uniformLetters, &Options::allowCapitals,
        &Options::timerEnabled, &Options::backgroundSound, &Options::maxCapitalRun,  &Options::picture};
    for (auto field : narrow) {
        Options other;
        other.*field = static_cast<std::uint8_t>(other.*field ^ 1);
        EXPECT_FALSE(base == other);
    }
}

TEST(OptionFlags, EveryBitRoundTripsAndOnlyTheLowFourBitsOfTheRunAreKept) {
    Options options;
    options.russian = 0;
    options.alphabetMode = 1;
    options.uniformLetters = 0;
    options.allowCapitals = 1;
    options.timerEnabled = 0;
    options.backgroundSound = 1;
    options.maxCapitalRun = 17;
    options.picture = 0;
    EXPECT_EQ(packOptionFlags(options), 0x012A);
    Options back;
    unpackOptionFlags(0x012A, back);
    options.maxCapitalRun = 1;
    EXPECT_TRUE(back == options);

    unpackOptionFlags(0x10FF | 0x00C0, back);
    EXPECT_EQ(back.maxCapitalRun, 0) << "bits 6-7 are not part of the run";
    unpackOptionFlags(0x1000u | (16u << 8 & 0x0F00u), back);
    EXPECT_EQ(back.maxCapitalRun, 0) << "16 keeps only its low four bits";
}

TEST(OptionFlags, PictureReadsAsZeroOrOneWhateverBitsTwelveToFifteenHold) {
    const std::pair<std::uint16_t, std::uint8_t> cases[] = {
        {0x0000, 0}, {0x1000, 1}, {0x2000, 1}, {0x3000, 1}, {0x4000, 0}, {0xC000, 0}, {0xF000, 1},
    };
    for (const auto& [flags, picture] : cases) {
        Options options;
        unpackOptionFlags(flags, options);
        EXPECT_EQ(options.picture, picture) << std::hex << flags;
    }
    Options second;
    second.picture = 2;
    EXPECT_EQ(packOptionFlags(second) & 0xF000, 0x2000) << "picture 2 is written as bit 13";
}

TEST(ReadOptions, AMissingFileIsCreatedWithEightZeroBytesAndKeepsTheLiveSettings) {
    TempDir dir;
    LiveOptions live;
    live.options.minLength = 33;
    live.options.russian = 0;
    live.options.picture = 0;
    const Options before = live.options;
    readOptions(live, dir.path());
    EXPECT_TRUE(live.optionsFile.isOpen());
    EXPECT_TRUE(live.optionsDirty);
    EXPECT_TRUE(live.options == before);
    EXPECT_EQ(live.optionsFile.size(), 8u);
    EXPECT_EQ(readTotals(live).characters, 0u);

    writeOptions(live);
    live.optionsFile.close();
    EXPECT_EQ(dir.read("Options.dat"), optionsFile(0, 0, 33, 120, 300, packOptionFlags(before)));
}

TEST(ReadOptions, AnEightByteFileKeepsTheLengthsAndTurnsEveryFlagOff) {
    TempDir dir;
    Options before;
    before.minLength = 5;
    before.maxLength = 60;
    before.timerSeconds = 900;
    const Options loaded = loadFrom(dir, u32(1) + u32(2), before);
    EXPECT_EQ(loaded.minLength, 10) << "kept, then clamped";
    EXPECT_EQ(loaded.maxLength, 60);
    EXPECT_EQ(loaded.timerSeconds, 900);
    Options off;
    unpackOptionFlags(0, off);
    off.minLength = 10;
    off.maxLength = 60;
    off.timerSeconds = 900;
    EXPECT_TRUE(loaded == off);
    EXPECT_EQ(loaded.russian, 0);
    EXPECT_EQ(loaded.backgroundSound, 0);
    EXPECT_EQ(loaded.picture, 0);
}

TEST(ReadOptions, AShortFileLoadsTheWholeFieldsItHolds) {
    TempDir dir;
    Options before;
    before.maxLength = 77;
    before.timerSeconds = 600;
    // minLength and one byte of maxLength: the half field keeps its old value.
    const Options loaded = loadFrom(dir, u32(0) + u32(0) + u16(40) + "\x05", before);
    EXPECT_EQ(loaded.minLength, 40);
    EXPECT_EQ(loaded.maxLength, 77);
    EXPECT_EQ(loaded.timerSeconds, 600);
    EXPECT_EQ(loaded.russian, 0);

    const Options noFlags = loadFrom(dir, optionsFile(0, 0, 20, 30, 40, 0).substr(0, 15));
    EXPECT_EQ(noFlags.timerSeconds, 40);
    EXPECT_EQ(noFlags.timerEnabled, 0) << "an incomplete flags word reads as 0";
}

TEST(ReadOptions, LengthsAreClampedAndAnOverlongTimerFallsBackToFiveMinutes) {
    TempDir dir;
    EXPECT_EQ(loadFrom(dir, optionsFile(0, 0, 5, 200, 300, 0x1435)).minLength, 10);
    EXPECT_EQ(loadFrom(dir, optionsFile(0, 0, 5, 200, 300, 0x1435)).maxLength, 120);
    EXPECT_EQ(loadFrom(dir, optionsFile(0, 0, 90, 30, 300, 0x1435)).maxLength, 90);
    EXPECT_EQ(loadFrom(dir, optionsFile(0, 0, 10, 20, 3600, 0)).timerSeconds, 3600);
    EXPECT_EQ(loadFrom(dir, optionsFile(0, 0, 10, 20, 3601, 0)).timerSeconds, 300);
    EXPECT_EQ(loadFrom(dir, optionsFile(0, 0, 10, 20, 0, 0)).timerSeconds, 0);
    EXPECT_EQ(loadFrom(dir, optionsFile(0, 0, 10, 20, 0xFFFF, 0)).timerSeconds, 300);
}

TEST(ReadOptions, FlagsDecodePictureAndCapitalRunAsTheyAreStored) {
    TempDir dir;
    EXPECT_EQ(loadFrom(dir, optionsFile(0, 0, 10, 20, 0, 0x2000)).picture, 1) << "picture 2 loads as 1";
    EXPECT_EQ(loadFrom(dir, optionsFile(0, 0, 10, 20, 0, 0x3000)).picture, 1);
    Options seventeen;
    seventeen.maxCapitalRun = 17;
    EXPECT_EQ(loadFrom(dir, optionsFile(0, 0, 10, 20, 0, packOptionFlags(seventeen))).maxCapitalRun, 1);
    const Options all = loadFrom(dir, optionsFile(0, 0, 10, 20, 0, 0x1F3F));
    EXPECT_EQ(all.russian + all.alphabetMode + all.uniformLetters + all.allowCapitals + all.timerEnabled +
                  all.backgroundSound,
              6);
    EXPECT_EQ(all.maxCapitalRun, 15);
}

TEST(ReadOptions, NeverClearsTheDirtyFlagAndReplacesThePreviousUsersFile) {
    TempDir first, second;
    first.write("Options.dat", optionsFile(0, 0, 10, 20, 0, 0x0001));
    second.write("Options.dat", optionsFile(0, 0, 30, 40, 0, 0x0000));
    LiveOptions live;
    live.optionsDirty = true;
    readOptions(live, first.path());
    EXPECT_TRUE(live.optionsDirty);
    EXPECT_EQ(live.options.russian, 1);
    readOptions(live, second.path());
    EXPECT_EQ(live.options.minLength, 30);
    EXPECT_TRUE(live.optionsDirty);
    // The first user's file was let go: another writer may take it now.
    EXPECT_TRUE(
        platform::File::open(first.file("Options.dat"), {.mode = platform::OpenMode::existing}).isOpen());
    EXPECT_FALSE(
        platform::File::open(second.file("Options.dat"), {.mode = platform::OpenMode::existing}).isOpen());
}

TEST(ReadOptions, BytesBeyondSixteenAreIgnoredAndKept) {
    TempDir dir;
    const std::string stored = optionsFile(7, 8, 12, 34, 56, 0x1435) + "tail";
    dir.write("Options.dat", stored);
    LiveOptions live;
    readOptions(live, dir.path());
    EXPECT_EQ(live.options.minLength, 12);
    EXPECT_FALSE(live.optionsDirty);
    writeOptions(live);
    live.optionsFile.close();
    EXPECT_EQ(dir.read("Options.dat"), stored);
}

TEST(ReadOptions, AFileHeldByAnotherWriterLeavesEverythingAsItWasAndMarksDirty) {
    TempDir dir;
    const std::string stored = optionsFile(5, 6, 50, 60, 70, 0);
    dir.write("Options.dat", stored);
    platform::File other =
        platform::File::open(dir.file("Options.dat"), {.mode = platform::OpenMode::existing});
    ASSERT_TRUE(other.isOpen());
    LiveOptions live;
    readOptions(live, dir.path());
    EXPECT_FALSE(live.optionsFile.isOpen());
    EXPECT_TRUE(live.optionsDirty);
    EXPECT_TRUE(live.options == Options {});
    EXPECT_EQ(readTotals(live).characters, 0u);
    writeOptions(live);
    addTotals(live, 1, 1);
    other.close();
    EXPECT_EQ(dir.read("Options.dat"), stored) << "the closed handle writes nothing";
}

TEST(WriteOptions, StoresTheSettingsAtOffsetEightAndLeavesTheTotals) {
    TempDir dir;
    dir.write("Options.dat", optionsFile(0xAABBCCDD, 0x11223344, 10, 120, 300, 0));
    LiveOptions live;
    readOptions(live, dir.path());
    live.options = Options {};
    live.options.minLength = 0x0102;
    live.options.maxLength = 0x0304;
    live.options.timerSeconds = 0x0506;
    writeOptions(live);
    live.optionsFile.close();
    EXPECT_EQ(dir.read("Options.dat"), optionsFile(0xAABBCCDD, 0x11223344, 0x0102, 0x0304, 0x0506, 0x1435));
}

TEST(Totals, MissingBytesReadAsZero) {
    TempDir dir;
    LiveOptions live;
    dir.write("Options.dat", "");
    readOptions(live, dir.path());
    EXPECT_EQ(readTotals(live).characters, 0u);
    EXPECT_EQ(readTotals(live).seconds, 0u);
    live.optionsFile.close();

    dir.write("Options.dat", u32(1000) + "\x07");
    readOptions(live, dir.path());
    const Totals partial = readTotals(live);
    EXPECT_EQ(partial.characters, 1000u);
    EXPECT_EQ(partial.seconds, 7u);
}

TEST(Totals, AddTotalsAddsAndWritesAtOnceWithoutTouchingTheSettings) {
    TempDir dir;
    const std::string settings = u16(11) + u16(22) + u16(33) + u16(0xBEEF);
    dir.write("Options.dat", u32(1000) + u32(3600) + settings);
    LiveOptions live;
    readOptions(live, dir.path());
    addTotals(live, 150, 125);
    const Totals totals = readTotals(live);
    EXPECT_EQ(totals.characters, 1150u);
    EXPECT_EQ(totals.seconds, 3725u);
    live.optionsFile.close();
    EXPECT_EQ(dir.read("Options.dat"), u32(1150) + u32(3725) + settings);
}

TEST(Totals, AddTotalsWrapsAroundLikeUnsignedThirtyTwoBits) {
    TempDir dir;
    dir.write("Options.dat", u32(0xFFFFFFF0u) + u32(0xFFFFFFFFu));
    LiveOptions live;
    readOptions(live, dir.path());
    addTotals(live, 0x20, 2);
    EXPECT_EQ(readTotals(live).characters, 0x10u);
    EXPECT_EQ(readTotals(live).seconds, 1u);
}

TEST(Totals, OnANewUsersFileTouchOnlyTheFirstEightBytes) {
    TempDir dir;
    LiveOptions live;
    readOptions(live, dir.path());
    addTotals(live, 3, 4);
    live.optionsFile.close();
    EXPECT_EQ(dir.read("Options.dat"), u32(3) + u32(4));
}

}  // namespace
}  // namespace dactyla
