#include "editors/settings_editor.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "corpus/sentence_corpus.h"
#include "platform/directory.h"
#include "platform/fault_injection.h"
#include "support/temp_dir.h"

namespace dactyla {
namespace {

using namespace settingsControl;

// The program and the dialog as the editor sees them. Edits raise their change notification
// when their text is set, as real ones do; every call is logged in order.
class RecordingSettings : public SettingsHost, public SettingsView {
public:
    explicit RecordingSettings(LiveOptions& live) : live_(live) {}

    // SettingsHost
    bool isSessionRunning() override { return running; }
    void sendLanguageSwitch() override {
        log.push_back("switch language");
        if (!switchWorks) return;
        live_.optionsDirty = true;
        live_.options.russian = live_.options.russian ? 0 : 1;
        figures = {live_.options.russian ? 500u : 300u, 7};
    }
    CorpusFigures corpusFigures() override { return figures; }
    bool reindex(const Options& options) override {
        log.push_back("reindex " + std::string(options.russian ? "ru " : "en ") + std::to_string(options.minLength) +
                      ".." + std::to_string(options.maxLength));
        figures = {static_cast<std::uint32_t>(options.maxLength - options.minLength), 0};
        return reindexWorks;
    }
    void invalidateMainWindow(bool now) override { log.push_back(now ? "repaint now" : "invalidate"); }
    void checkAlphabetItem() override {
        log.push_back(std::string("alphabet item ") + (live_.options.alphabetMode ? "checked" : "clear"));
    }

    // SettingsView
    void checkButton(int id, bool on) override {
        if (on) checked.insert(id);
        else checked.erase(id);
    }
    bool isChecked(int id) override { return checked.count(id) != 0; }
    void checkRadio(int first, int last, int on) override {
        for (int id = first; id <= last; ++id) checkButton(id, id == on);
    }
    void enableControl(int id, bool enabled) override {
        if (enabled) disabled.erase(id);
        else disabled.insert(id);
    }
    void setReadOnly(int id, bool on) override {
        if (on) readOnly.insert(id);
        else readOnly.erase(id);
    }
    void limitText(int id, unsigned characters) override { limits[id] = characters; }
    void setText(int id, const std::string& text) override {
        texts[id] = text;
        log.push_back("text " + std::to_string(id) + " " + text);
        if (editor != nullptr && (id == kTimerMinutes || id == kTimerSeconds || id == kMinLength || id == kMaxLength))
            editor->pageCommand(id, PageEvent::editChanged);
    }
    std::optional<std::string> editText(int id) override {
        if (!pageExists || texts.count(id) == 0) return std::nullopt;
        return texts[id];
    }
    bool applyEnabled() override { return apply; }
    void enableApply(bool enabled) override { apply = enabled; }
    void setDefaultButton(int id) override { defaultButton = id; }
    void focusControl(int id) override { focus = id; }
    void closeDialog() override { log.push_back("close"); }
    void showLanguageLocked() override { log.push_back("language locked"); }
    void runImportDialog() override {
        log.push_back("import with " + std::to_string(editor->workingOptions().minLength) + ".." +
                      std::to_string(editor->workingOptions().maxLength) + ", 1002 " + texts[kSentenceCount]);
    }

    // The user clicks a button: an auto check box or radio changes its mark first.
    void click(int id) {
        if (id >= kPictureDesktop && id <= kPictureGrass) checkRadio(kPictureDesktop, kPictureGrass, id);
        else if (id == kEnglish || id == kRussian) checkRadio(kEnglish, kRussian, id);
        else if (id != kImport) checkButton(id, !isChecked(id));
        editor->pageCommand(id, PageEvent::clicked);
    }
    // The user types into an edit.
    void type(int id, const std::string& text) {
        texts[id] = text;
        editor->pageCommand(id, PageEvent::editChanged);
    }
    // A new page: its controls start as the template makes them.
    void newPage() {
        checked.clear();
        disabled = {kPictureGrass};
        readOnly.clear();
        texts.clear();
    }

    SettingsEditor* editor = nullptr;
    bool running = false;
    bool switchWorks = true;
    bool reindexWorks = true;
    bool pageExists = true;
    CorpusFigures figures {400, 12};
    std::vector<std::string> log;
    std::set<int> checked, disabled, readOnly;
    std::map<int, unsigned> limits;
    std::map<int, std::string> texts;
    bool apply = false;  // the template creates Apply disabled
    int defaultButton = kOk;
    int focus = 0;

private:
    LiveOptions& live_;
};

class SettingsEditorTest : public ::testing::Test {
protected:
    // Opens the dialog on page `settingsTab` as the frame does.
    void open(unsigned tab = kGeneralPage) {
        settingsTab_ = tab;
        fake_.apply = false;  // as the template creates it
        fake_.defaultButton = kOk;
        editor_ = std::make_unique<SettingsEditor>(live_, settingsTab_, fake_, fake_);
        fake_.editor = editor_.get();
        fake_.newPage();
        editor_->initPage();
    }
    void switchTo(unsigned tab) {
        editor_->leavePage();
        editor_->selectPage(tab);
        fake_.newPage();
        editor_->initPage();
    }
    Options& working() { return editor_->workingOptions(); }

    LiveOptions live_;
    unsigned settingsTab_ = 0;
    RecordingSettings fake_ {live_};
    std::unique_ptr<SettingsEditor> editor_;
};

TEST_F(SettingsEditorTest, GeneralPageShowsTheWorkingCopyAndOpensWithCancelAsDefault) {
    struct Case {
        const char* name;
        Options options;
        std::set<int> checked, disabled, readOnly;
        const char *minutes, *seconds;
    };
    Options allOff;
    allOff.picture = 0;
    allOff.timerSeconds = 3599;
    allOff.alphabetMode = allOff.uniformLetters = allOff.allowCapitals = allOff.timerEnabled = 0;
    allOff.backgroundSound = 0;
    Options allOn;
    allOn.alphabetMode = allOn.allowCapitals = 1;
    allOn.timerSeconds = 135;
    Options damaged;
    damaged.picture = 7;
    const Case cases[] = {
        {"defaults", Options {}, {kPictureMountains, kUniformLetters, kTimerEnabled, kBackgroundSound},
         {kPictureGrass, kAllowCapitals, kUniformLetters}, {}, "5", "0"},
        {"all off", allOff, {kPictureDesktop}, {kPictureGrass, kAllowCapitals, kUniformLetters},
         {kTimerMinutes, kTimerSeconds}, "59", "59"},
        {"all on", allOn,
         {kPictureMountains, kAllowCapitals, kUniformLetters, kAlphabet, kTimerEnabled, kBackgroundSound},
         {kPictureGrass}, {}, "2", "15"},
        {"unknown picture", damaged, {kUniformLetters, kTimerEnabled, kBackgroundSound},
         {kPictureGrass, kAllowCapitals, kUniformLetters}, {}, "5", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        live_.options = c.options;
        fake_.apply = false;
        open();
        EXPECT_EQ(fake_.checked, c.checked);
        EXPECT_EQ(fake_.disabled, c.disabled);
        EXPECT_EQ(fake_.readOnly, c.readOnly);
        EXPECT_EQ(fake_.texts[kTimerMinutes], c.minutes);
        EXPECT_EQ(fake_.texts[kTimerSeconds], c.seconds);
        EXPECT_EQ(fake_.limits, (std::map<int, unsigned> {{kTimerMinutes, 2}, {kTimerSeconds, 2}}));
        // The fill's change notifications enabled Apply on the way; it is put back.
        EXPECT_FALSE(fake_.apply);
        EXPECT_EQ(fake_.defaultButton, kCancel);
        EXPECT_FALSE(live_.optionsDirty);
    }
}

TEST_F(SettingsEditorTest, TextPageShowsLengthsLanguageAndTheCorpusFigures) {
    live_.options.minLength = 20;
    live_.options.maxLength = 80;
    live_.options.russian = 0;
    open(kTextPage);
    EXPECT_EQ(fake_.texts[kMinLength], "20");
    EXPECT_EQ(fake_.texts[kMaxLength], "80");
    EXPECT_EQ(fake_.texts[kSentenceCount], "400");
    EXPECT_EQ(fake_.texts[kPosition], "12");
    EXPECT_EQ(fake_.checked, (std::set<int> {kEnglish}));
    EXPECT_EQ(fake_.limits, (std::map<int, unsigned> {{kMinLength, 3}, {kMaxLength, 3}}));
    EXPECT_FALSE(fake_.apply);
    EXPECT_EQ(fake_.defaultButton, kCancel);
}

TEST_F(SettingsEditorTest, PageEditsAreReadBackCappedAndClamped) {
    struct Case {
        unsigned tab;
        const char *first, *second;
        std::uint16_t timer, minLength, maxLength;
    };
    const Case cases[] = {
        {kGeneralPage, "99", "99", 3600, 10, 120},   {kGeneralPage, "", "", 0, 10, 120},
        {kGeneralPage, "1", "75", 135, 10, 120},     {kGeneralPage, "7", "x", 420, 10, 120},
        {kGeneralPage, "60", "1", 3600, 10, 120},    {kGeneralPage, "9999999999", "9", 3600, 10, 120},
        {kTextPage, "5", "500", 300, 10, 120},       {kTextPage, "100", "50", 300, 100, 100},
        {kTextPage, "", "", 300, 10, 10},            {kTextPage, "99999999", "12a", 300, 120, 120},
        {kTextPage, "30", "65546", 300, 30, 120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " / " + c.second);
        live_ = LiveOptions {};
        open(c.tab);
        const int firstId = c.tab == kGeneralPage ? kTimerMinutes : kMinLength;
        fake_.type(firstId, c.first);
        fake_.type(firstId + 1, c.second);
        editor_->readPageBack();
        EXPECT_EQ(working().timerSeconds, c.timer);
        EXPECT_EQ(working().minLength, c.minLength);
        EXPECT_EQ(working().maxLength, c.maxLength);
        // The edits keep what was typed; the clamped values show when the page is next made.
        EXPECT_EQ(fake_.texts[firstId + 1], c.second);
    }
}

TEST_F(SettingsEditorTest, PageWithoutItsEditsLeavesTheWorkingCopyAlone) {
    live_.options.timerSeconds = 77;
    open();
    fake_.pageExists = false;
    editor_->readPageBack();
    EXPECT_EQ(working().timerSeconds, 77);
}

TEST_F(SettingsEditorTest, EveryButtonAndEditEnablesApplyAndMakesItTheDefault) {
    struct Case {
        unsigned tab;
        int id;
        std::uint8_t Options::*field;  // what the click sets, if anything
        std::uint8_t value;
    };
    const Case cases[] = {
        {kGeneralPage, kBackgroundSound, &Options::backgroundSound, 0},
        {kGeneralPage, kTimerEnabled, &Options::timerEnabled, 0},
        {kGeneralPage, kAllowCapitals, &Options::allowCapitals, 1},
        {kGeneralPage, kUniformLetters, &Options::uniformLetters, 0},
        {kGeneralPage, kAlphabet, &Options::alphabetMode, 1},
        {kGeneralPage, kPictureDesktop, &Options::picture, 0},
        {kGeneralPage, kPictureMountains, &Options::picture, 1},
        {kTextPage, kEnglish, &Options::russian, 0},
        {kTextPage, kRussian, &Options::russian, 1},
        {kGeneralPage, kTimerMinutes, nullptr, 0},
        {kTextPage, kMaxLength, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        live_ = LiveOptions {};
        open(c.tab);
        fake_.focus = 0;
        if (c.field != nullptr) fake_.click(c.id);
        else fake_.type(c.id, "3");
        EXPECT_TRUE(fake_.apply);
        EXPECT_EQ(fake_.defaultButton, kApply);
        EXPECT_EQ(fake_.focus, 0) << "the focus stays";
        if (c.field != nullptr) {
            EXPECT_EQ(working().*(c.field), c.value);
        }
        EXPECT_TRUE(live_.options == Options {}) << "the live options wait for Apply";
    }
}

TEST_F(SettingsEditorTest, TimerBoxMakesTheFieldsReadOnlyAndAlphabetBoxEnablesItsOptions) {
    open();
    fake_.click(kTimerEnabled);
    EXPECT_EQ(fake_.readOnly, (std::set<int> {kTimerMinutes, kTimerSeconds}));
    fake_.click(kTimerEnabled);
    EXPECT_TRUE(fake_.readOnly.empty());
    EXPECT_EQ(working().timerEnabled, 1);

    fake_.click(kAlphabet);
    EXPECT_EQ(fake_.disabled, (std::set<int> {kPictureGrass}));
    fake_.click(kAlphabet);
    EXPECT_EQ(fake_.disabled, (std::set<int> {kPictureGrass, kAllowCapitals, kUniformLetters}));
    EXPECT_EQ(working().alphabetMode, 0);
}

TEST_F(SettingsEditorTest, DuringASessionTheAlphabetBoxSpringsBackAndTheOtherLanguageIsRefused) {
    fake_.running = true;
    open();
    fake_.click(kAlphabet);
    EXPECT_FALSE(fake_.isChecked(kAlphabet));
    EXPECT_EQ(working().alphabetMode, 0);
    EXPECT_TRUE(fake_.apply) << "the general rule still holds";

    switchTo(kTextPage);
    fake_.log.clear();
    fake_.click(kEnglish);
    EXPECT_EQ(fake_.log, (std::vector<std::string> {"language locked"}));
    EXPECT_EQ(fake_.checked, (std::set<int> {kRussian}));
    EXPECT_EQ(working().russian, 1);
    // Nothing differs: Apply goes off and Cancel takes Enter and the focus.
    EXPECT_FALSE(fake_.apply);
    EXPECT_EQ(fake_.defaultButton, kCancel);
    EXPECT_EQ(fake_.focus, kCancel);

    // The live language's own radio is no change of language.
    fake_.log.clear();
    fake_.click(kRussian);
    EXPECT_TRUE(fake_.log.empty());

    // With another change pending, Apply stays and the focus goes to the live language.
    fake_.type(kMaxLength, "90");
    fake_.click(kEnglish);
    EXPECT_EQ(fake_.log, (std::vector<std::string> {"language locked"}));
    EXPECT_TRUE(fake_.apply);
    EXPECT_EQ(fake_.defaultButton, kApply);
    EXPECT_EQ(fake_.focus, kRussian);
    EXPECT_EQ(working().maxLength, 90) << "the lock read the page back";
}

TEST_F(SettingsEditorTest, ApplyCarriesAPictureChangeAtOnceAndLeavesTheCorpusAlone) {
    open();
    fake_.click(kPictureDesktop);
    fake_.log.clear();
    editor_->frameCommand(kApply);
    EXPECT_EQ(fake_.log, (std::vector<std::string> {"repaint now", "alphabet item clear"}));
    EXPECT_EQ(live_.options.picture, 0);
    EXPECT_TRUE(live_.optionsDirty);
    EXPECT_FALSE(fake_.apply);
    EXPECT_EQ(fake_.defaultButton, kCancel);
    EXPECT_EQ(fake_.focus, kCancel);

    // Cancel afterwards keeps what Apply applied.
    fake_.log.clear();
    editor_->frameCommand(kCancel);
    EXPECT_EQ(fake_.log, (std::vector<std::string> {"close"}));
    EXPECT_EQ(live_.options.picture, 0);
}

TEST_F(SettingsEditorTest, OkTakesEverythingAndClosesWhileCancelTakesNothing) {
    open();
    fake_.click(kPictureDesktop);
    fake_.click(kAlphabet);
    fake_.type(kTimerSeconds, "30");
    editor_->frameCommand(kCancel);
    EXPECT_TRUE(live_.options == Options {});
    EXPECT_FALSE(live_.optionsDirty);

    open();
    fake_.click(kPictureDesktop);
    fake_.click(kAlphabet);
    fake_.type(kTimerSeconds, "30");
    fake_.log.clear();
    editor_->frameCommand(kOk);
    EXPECT_EQ(fake_.log, (std::vector<std::string> {"invalidate", "alphabet item checked", "close"}));
    EXPECT_EQ(live_.options.picture, 0);
    EXPECT_EQ(live_.options.alphabetMode, 1);
    EXPECT_EQ(live_.options.timerSeconds, 330);
    EXPECT_TRUE(live_.optionsDirty);
}

TEST_F(SettingsEditorTest, ApplyWithNothingChangedOnlySettlesTheButtons) {
    open(kTextPage);
    fake_.type(kMinLength, "10");
    ASSERT_TRUE(fake_.apply);
    fake_.log.clear();
    editor_->frameCommand(kApply);
    EXPECT_TRUE(fake_.log.empty());
    EXPECT_FALSE(live_.optionsDirty);
    EXPECT_FALSE(fake_.apply);
    EXPECT_EQ(fake_.focus, kCancel);
}

TEST_F(SettingsEditorTest, ApplyOnTheTextPageReindexesAndShowsTheNewFigures) {
    open(kTextPage);
    fake_.type(kMinLength, "20");
    fake_.type(kMaxLength, "60");
    fake_.log.clear();
    editor_->frameCommand(kApply);
    EXPECT_EQ(fake_.log, (std::vector<std::string> {"reindex ru 20..60", "text 1002 40", "text 1003 0",
                                                     "alphabet item clear"}));
    EXPECT_EQ(live_.options.minLength, 20);
    EXPECT_EQ(live_.options.maxLength, 60);
    EXPECT_TRUE(live_.optionsDirty);
}

TEST_F(SettingsEditorTest, LanguageAndLengthsTogetherSwitchFirstThenReindexTheNewLanguage) {
    open(kTextPage);
    fake_.click(kEnglish);
    fake_.type(kMinLength, "5");
    fake_.type(kMaxLength, "50");
    fake_.log.clear();
    editor_->frameCommand(kApply);
    EXPECT_EQ(fake_.log, (std::vector<std::string> {"switch language", "reindex en 10..50", "text 1002 40",
                                                     "text 1003 0", "alphabet item clear"}));
    EXPECT_EQ(live_.options.russian, 0);
}

TEST_F(SettingsEditorTest, ApplyTextOptionsKeepsOptionsAndIndexAgreeing) {
    struct Case {
        const char* name;
        std::uint8_t russian;
        std::uint16_t minLength, maxLength;
        bool switchWorks, reindexWorks;
        std::vector<std::string> log;
        bool result;
        std::uint8_t liveRussian;
        std::uint16_t liveMin, liveMax;
        bool dirty;
    };
    const Case cases[] = {
        {"nothing", 1, 10, 120, true, true, {}, true, 1, 10, 120, false},
        {"language only", 0, 10, 120, true, true, {"switch language"}, true, 0, 10, 120, true},
        {"window only", 1, 30, 40, true, true, {"reindex ru 30..40"}, true, 1, 30, 40, true},
        {"window unclamped", 1, 130, 20, true, true, {"reindex ru 120..120"}, true, 1, 120, 120, true},
        {"index not written", 1, 30, 40, true, false, {"reindex ru 30..40", "reindex ru 10..120"}, false, 1, 10,
         120, true},
        {"language refused", 0, 10, 120, false, true, {"switch language"}, true, 1, 10, 120, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        live_ = LiveOptions {};
        fake_.log.clear();
        fake_.switchWorks = c.switchWorks;
        fake_.reindexWorks = c.reindexWorks;
        Options working;
        working.russian = c.russian;
        working.minLength = c.minLength;
        working.maxLength = c.maxLength;
        EXPECT_EQ(applyTextOptions(fake_, live_, working), c.result);
        EXPECT_EQ(fake_.log, c.log);
        EXPECT_EQ(live_.options.russian, c.liveRussian);
        EXPECT_EQ(live_.options.minLength, c.liveMin);
        EXPECT_EQ(live_.options.maxLength, c.liveMax);
        EXPECT_EQ(live_.optionsDirty, c.dirty);
        // Whatever happened, the working copy now says what the live options and corpus hold.
        EXPECT_EQ(working.russian, live_.options.russian);
        EXPECT_EQ(working.minLength, live_.options.minLength);
        EXPECT_EQ(working.maxLength, live_.options.maxLength);
    }
}

TEST_F(SettingsEditorTest, ImportReadsThePageBackRunsTheDialogAndHandsEnterToOk) {
    open(kTextPage);
    fake_.type(kMinLength, "5");
    fake_.type(kMaxLength, "50");
    fake_.apply = false;
    fake_.defaultButton = kCancel;
    fake_.log.clear();
    fake_.click(kImport);
    EXPECT_EQ(fake_.log, (std::vector<std::string> {"text 1002 ???", "import with 10..50, 1002 ???",
                                                     "text 1002 400", "text 1003 12"}));
    EXPECT_FALSE(fake_.apply) << "the import button is no change of its own";
    EXPECT_EQ(fake_.defaultButton, kOk);
    EXPECT_EQ(fake_.focus, kOk);
}

TEST_F(SettingsEditorTest, SwitchingPagesKeepsEditsAndTheApplyState) {
    open();
    fake_.type(kTimerMinutes, "12");
    switchTo(kTextPage);
    EXPECT_EQ(settingsTab_, kTextPage) << "remembered for the next opening";
    EXPECT_TRUE(fake_.apply);
    EXPECT_EQ(fake_.defaultButton, kApply);
    switchTo(kGeneralPage);
    EXPECT_EQ(fake_.texts[kTimerMinutes], "12");

    open();
    switchTo(kTextPage);
    EXPECT_FALSE(fake_.apply);
    EXPECT_EQ(fake_.defaultButton, kCancel);
}

// The program's reindex on a real corpus, with the disk refusing writes after `allowance` bytes
// during the first `refusedRebuilds` rebuilds.
class CorpusHost : public SettingsHost {
public:
    explicit CorpusHost(SentenceCorpus& corpus) : corpus_(corpus) {}
    bool isSessionRunning() override { return false; }
    void sendLanguageSwitch() override {}
    CorpusFigures corpusFigures() override { return {corpus_.entryCount(), corpus_.position()}; }
    bool reindex(const Options& live) override {
        std::optional<platform::ScopedFileFaults> faults;
        if (refusedRebuilds > 0) {
            --refusedRebuilds;
            faults.emplace();
            faults->failWritesAfter(allowance);
        }
        return corpus_.rebuild(live);
    }
    void invalidateMainWindow(bool) override {}
    void checkAlphabetItem() override {}

    int refusedRebuilds = 0;
    std::uint64_t allowance = 0;

private:
    SentenceCorpus& corpus_;
};

TEST(SettingsOnACorpus, AnIndexThatCannotBeWrittenLeavesTheOptionsOnTheWindowItWasBuiltFor) {
    struct Case {
        const char* name;
        int refusedRebuilds;
        std::uint64_t allowance;
    };
    const Case cases[] = {
        {"disk full, then free again", 1, 0},
        {"disk full in the middle of the entries, then free again", 1, 20},
        {"disk full for good", 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::TempDir dir;
        const std::string user = platform::joinPath(dir.file("Users"), "Ann");
        platform::createDirectory(dir.file("Users"));
        platform::createDirectory(user);
        std::string text;
        for (int k = 0; k < 12; ++k) text += "Short one " + std::to_string(10 + k) + " to type. ";
        for (int k = 0; k < 5; ++k) text += "A much longer sentence number " + std::to_string(k) + " to type here. ";
        dir.write("TextData.Eng", text);
        LiveOptions live;
        live.options.russian = 0;
        auto corpus = openCorpus(live.options, dir.path(), user);
        ASSERT_TRUE(corpus);
        ASSERT_EQ(corpus->entryCount(), 17u);

        CorpusHost host(*corpus);
        host.refusedRebuilds = c.refusedRebuilds;
        host.allowance = c.allowance;
        Options working = live.options;
        working.minLength = 40;
        working.maxLength = 60;
        EXPECT_FALSE(applyTextOptions(host, live, working));
        EXPECT_EQ(live.options.minLength, 10);
        EXPECT_EQ(live.options.maxLength, 120);
        EXPECT_EQ(working.minLength, 10);
        EXPECT_EQ(working.maxLength, 120);
        closeCorpus(corpus);

        // What is on disk is the old window's whole index, found valid as it is.
        const IndexHeader stored =
            parseIndexHeader(platform::readWholeFile(platform::joinPath(user, "random.eng")).value_or(""));
        EXPECT_EQ(stored.minLength, 10);
        EXPECT_EQ(stored.maxLength, 120);
        corpus = openCorpus(live.options, dir.path(), user);
        ASSERT_TRUE(corpus);
        EXPECT_FALSE(corpus->rebuiltOnOpen());
        EXPECT_EQ(corpus->entryCount(), 17u);
    }
}

}  // namespace
}  // namespace dactyla
