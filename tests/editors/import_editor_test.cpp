#include "editors/import_editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/cp1251.h"
#include "platform/directory.h"
#include "platform/fault_injection.h"
#include "support/temp_dir.h"

namespace dactyla {
namespace {

using namespace importControl;

// The dialog and the program as the editor sees them, with a real corpus in a fresh directory.
// The next file the open-file dialog "returns" is set by the test; every call is logged.
class RecordingImport : public ImportHost, public ImportView {
public:
    // ImportHost
    void applyTextOptions() override { log.push_back("apply text options"); }
    SentenceCorpus* corpus() override { return corpus_; }

    // ImportView
    void setText(int id, const std::string& text) override { texts[id] = text; }
    std::string text(int id) override { return texts[id]; }
    void enableControl(int id, bool enabled) override {
        if (enabled) disabled.erase(id);
        else disabled.insert(id);
    }
    void setDefaultButton(int id) override { defaultButton = id; }
    void focusControl(int id) override { focused = id; }
    void setProgress(int percent) override { progress.push_back(percent); }
    std::optional<ChosenFile> chooseFile() override {
        log.push_back("choose file");
        std::optional<ChosenFile> choice = std::move(nextChoice);
        nextChoice.reset();
        return choice;
    }
    void showChosenPath() override { texts[kPath] = "chosen"; }
    void clearPath() override { texts[kPath] = ""; }
    void showError(const std::string& text) override { errors.push_back(text); }
    void closeDialog() override { log.push_back("close"); }

    void useCorpus(SentenceCorpus* corpus) { corpus_ = corpus; }

    std::map<int, std::string> texts;
    std::set<int> disabled {kAdd};  // as the template creates it
    int defaultButton = kClose;
    int focused = 0;
    std::vector<int> progress;
    std::vector<std::string> errors;
    std::vector<std::string> log;
    std::optional<ChosenFile> nextChoice;

private:
    SentenceCorpus* corpus_ = nullptr;
};

class ImportEditorTest : public ::testing::Test {
protected:
    ImportEditorTest() {
        platform::createDirectory(dir.file("temp"));
        platform::createDirectory(dir.file("Users"));
        platform::createDirectory(userDirectory());
        dir.write("TextData.Eng", "The first old sentence.\r\nThe second old sentence.\r\n");
        live.options.russian = 0;
        working = live.options;
        corpus = openCorpus(live.options, dir.path(), userDirectory());
        view.useCorpus(corpus.get());
    }

    std::string userDirectory() const { return platform::joinPath(dir.file("Users"), "Ann"); }
    void choose(const std::string& name, const std::string& content) {
        dir.write(name, content);
        view.nextChoice = ChosenFile {
            platform::File::open(dir.file(name), {.mode = platform::OpenMode::existing, .readOnly = true}), false};
    }
    void expectAddable(bool addable) {
        EXPECT_EQ(view.disabled.count(kAdd) == 0, addable);
        EXPECT_EQ(editor.canAdd(), addable);
    }
    bool temporaryFilesExist() const {
        return platform::fileExists(platform::joinPath(dir.file("temp"), kImportSentencesName)) ||
               platform::fileExists(platform::joinPath(dir.file("temp"), kImportOffsetsName));
    }

    testing::TempDir dir;
    LiveOptions live;
    Options working;
    std::unique_ptr<SentenceCorpus> corpus;
    RecordingImport view;
    ImportEditor editor {live, working, view, view, dir.file("temp")};
};

constexpr const char* kThreeSentences = "A new line to type.\r\nAnother one arri-\r\nves here. Bad 'tick' one. Last of them all!";

TEST_F(ImportEditorTest, OpensWithTheWorkingCopyAfterCarryingOutPendingTextOptions) {
    for (const bool russian : {false, true}) {
        working.russian = russian ? 1 : 0;
        working.minLength = 12;
        working.maxLength = 90;
        working.maxCapitalRun = 7;
        view.log.clear();
        editor.init();
        EXPECT_EQ(platform::cp1251ToUtf8(view.texts[kLanguage]), russian ? "Русский" : "English");
        EXPECT_EQ(view.texts[kMinLength], "12");
        EXPECT_EQ(view.texts[kMaxLength], "90");
        EXPECT_EQ(view.texts[kCapitalRun], "7");
        EXPECT_EQ(view.log, std::vector<std::string> {"apply text options"});
        EXPECT_EQ(view.texts[kTotal], "2");
    }
    view.useCorpus(nullptr);
    editor.init();
    EXPECT_EQ(view.texts[kTotal], "0") << "no corpus open";
}

TEST_F(ImportEditorTest, TheScanNamesTheEncodingItFoundAndAnAddClearsIt) {
    editor.init();
    const std::string utf8Book = "\xEF\xBB\xBF" + std::string(kThreeSentences);
    for (const auto& [book, shown] : {std::pair {std::string(kThreeSentences), std::string("WIN-1251")},
                                      std::pair {utf8Book, std::string("UTF-8 (BOM)")}}) {
        choose("book.txt", book);
        editor.command(kBrowse);
        EXPECT_EQ(view.texts[kFound], "3");
        EXPECT_EQ(platform::cp1251ToUtf8(view.texts[kEncoding]), "Кодировка файла: " + shown);
    }
    editor.command(kAdd);
    EXPECT_EQ(view.texts[kEncoding], "");
}

TEST_F(ImportEditorTest, BrowseScansWithProgressAndAddAppendsThenSettlesOnBrowse) {
    editor.init();
    choose("book.txt", kThreeSentences);
    editor.command(kBrowse);
    EXPECT_EQ(view.texts[kFound], "3");
    EXPECT_EQ(view.texts[kPath], "chosen");
    ASSERT_FALSE(view.progress.empty());
    EXPECT_EQ(view.progress.front(), 0) << "the display is cleared first";
    EXPECT_EQ(view.progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(view.progress.begin() + 1, view.progress.end()));
    expectAddable(true);
    EXPECT_EQ(view.defaultButton, kAdd);
    EXPECT_EQ(view.focused, kAdd);
    EXPECT_TRUE(temporaryFilesExist());

    view.progress.clear();
    editor.command(kAdd);
    EXPECT_TRUE(view.errors.empty());
    EXPECT_EQ(corpus->entryCount(), 5u);
    EXPECT_EQ(view.texts[kTotal], "5");
    EXPECT_EQ(view.texts[kFound], "0");
    EXPECT_EQ(view.texts[kPath], "");
    EXPECT_EQ(view.progress, std::vector<int> {0});
    expectAddable(false);
    EXPECT_EQ(view.defaultButton, kBrowse);
    EXPECT_EQ(view.focused, kBrowse);

    editor.command(kAdd);
    EXPECT_EQ(corpus->entryCount(), 5u) << "a second add of the same scan does nothing";
    // The corpus keeps the text open for writing, which Windows lets nobody read beside it.
    corpus.reset();
    EXPECT_EQ(platform::readWholeFile(dir.file("TextData.Eng")).value_or(""),
              "The first old sentence.\r\nThe second old sentence.\r\n"
              "A new line to type.\r\nAnother one arrives here.\r\nLast of them all!\r\n");
}

// What "Обзор..." leaves when it does not end in a scan with sentences.
TEST_F(ImportEditorTest, CancelRefusalAndFailuresKeepOrDropTheEarlierScanAsTheyShould) {
    enum class Outcome { cancelled, ownText, unreadable, noSentences, temporaryFilesFail };
    struct Case {
        Outcome outcome;
        std::string error;  // UTF-8
        bool keepsScan;
    };
    const std::vector<Case> cases = {
        {Outcome::cancelled, "", true},
        {Outcome::ownText, "Загадка: кто немножко тормозит?\n\nP.S. Отгадка в зеркале.", true},
        {Outcome::unreadable, "Не удается прочитать выбранный файл.", true},
        {Outcome::noSentences, "", false},
        {Outcome::temporaryFilesFail, "Не удается создать временные файлы ~dactyl1.TMP и ~dactyl2.TMP.", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.outcome));
        RecordingImport fresh;
        fresh.useCorpus(corpus.get());
        ImportEditor scanned(live, working, fresh, fresh, dir.file("temp"));
        scanned.init();
        choose("book.txt", kThreeSentences);
        fresh.nextChoice = std::move(view.nextChoice);
        scanned.command(kBrowse);
        ASSERT_TRUE(scanned.canAdd());

        platform::ScopedFileFaults faults;
        switch (c.outcome) {
        case Outcome::cancelled: break;
        case Outcome::ownText:
            fresh.nextChoice = ChosenFile {platform::File(), true};
            break;
        case Outcome::unreadable: fresh.nextChoice = ChosenFile {}; break;
        case Outcome::noSentences:
            choose("none.txt", "no capital here. Nor 'this' one.");
            fresh.nextChoice = std::move(view.nextChoice);
            break;
        case Outcome::temporaryFilesFail:
            choose("other.txt", kThreeSentences);
            fresh.nextChoice = std::move(view.nextChoice);
            faults.failOpensOf(kImportSentencesName);
            break;
        }
        fresh.progress.clear();
        scanned.command(kBrowse);
        EXPECT_EQ(fresh.texts[kFound], "0");
        EXPECT_EQ(fresh.texts[kPath], c.outcome == Outcome::noSentences ? "chosen" : "") << "only a scan names its file";
        EXPECT_EQ(fresh.progress.front(), 0);
        const std::vector<std::string> errors(c.error.empty() ? 0u : 1u, platform::utf8ToCp1251(c.error));
        EXPECT_EQ(fresh.errors, errors);
        EXPECT_EQ(scanned.canAdd(), c.keepsScan);
        EXPECT_EQ(fresh.disabled.count(kAdd) == 0, c.keepsScan);
        EXPECT_EQ(fresh.defaultButton, c.keepsScan ? kAdd : kBrowse);

        const std::uint32_t before = corpus->entryCount();
        scanned.command(kAdd);
        EXPECT_EQ(corpus->entryCount(), before + (c.keepsScan ? 3 : 0)) << "the kept scan is what is added";
    }
}

TEST_F(ImportEditorTest, TheCapitalRunFieldIsReadBeforeTheScanAndZeroRaisedToOne) {
    struct Case {
        std::string typed;
        std::uint8_t stored;
        std::string shown;
        bool liveRaised;
        std::string found;
    };
    // Sentences with runs of 1, 2 and 3 capitals; spaces do not end a run.
    const std::string text = "A cat sat down here. We met the UN team here. A B C then spoke up.";
    const std::vector<Case> cases = {
        {"2", 2, "2", false, "2"},     {"3", 3, "3", false, "3"},   {"0", 1, "1", true, "1"},
        {"", 1, "1", true, "1"},       {"999", 255, "255", false, "3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        live.options.maxCapitalRun = 4;
        live.optionsDirty = false;
        editor.init();
        view.texts[kCapitalRun] = c.typed;
        choose("caps.txt", text);
        editor.command(kBrowse);
        EXPECT_EQ(working.maxCapitalRun, c.stored);
        EXPECT_EQ(view.texts[kCapitalRun], c.shown);
        EXPECT_EQ(live.options.maxCapitalRun, c.liveRaised ? 1 : 4);
        EXPECT_EQ(live.optionsDirty, c.liveRaised);
        EXPECT_EQ(view.texts[kFound], c.found);
    }
}

TEST_F(ImportEditorTest, AFailedAddIsReportedAndCanBeTriedAgain) {
    editor.init();
    choose("book.txt", kThreeSentences);
    editor.command(kBrowse);
    {
        platform::ScopedFileFaults faults;
        faults.failWritesAfter(10);
        editor.command(kAdd);
    }
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_EQ(view.errors[0], importMessage(ImportStatus::writeFailed));
    EXPECT_EQ(corpus->entryCount(), 2u);
    EXPECT_EQ(view.texts[kTotal], "2");
    expectAddable(true);
    EXPECT_EQ(view.defaultButton, kAdd);

    editor.command(kAdd);
    EXPECT_EQ(view.texts[kTotal], "5");

    view.useCorpus(nullptr);
    choose("more.txt", kThreeSentences);
    editor.command(kBrowse);
    editor.command(kAdd);
    EXPECT_EQ(view.errors.size(), 2u) << "no corpus to add to";
    expectAddable(true);
}

TEST_F(ImportEditorTest, ClosingDeletesTheTemporaryFilesWhateverTheState) {
    editor.init();
    choose("book.txt", kThreeSentences);
    editor.command(kBrowse);
    ASSERT_TRUE(temporaryFilesExist());
    editor.command(kClose);
    EXPECT_FALSE(temporaryFilesExist());
    EXPECT_EQ(view.log.back(), "close");
    EXPECT_EQ(corpus->entryCount(), 2u) << "scanned but not added is lost";
}

TEST(ImportStartDirectory, LeavesTheProgramsOwnFolderForItsParentButNotForABareDrive) {
    struct Case {
        std::wstring current;
        std::wstring program;
        std::wstring start;
    };
    const std::vector<Case> cases = {
        {L"D:\\Books", L"C:\\Games\\Dactyla", L"D:\\Books"},
        {L"C:\\Games\\Dactyla", L"C:\\Games\\Dactyla", L"C:\\Games"},
        {L"C:\\Dactyla", L"C:\\Dactyla", L"C:\\Dactyla"},
        {L"c:\\games\\dactyla", L"C:\\Games\\Dactyla", L"c:\\games\\dactyla"},  // byte for byte
        {L"\\\\server\\share\\Dactyla", L"\\\\server\\share\\Dactyla", L"\\\\server\\share"},
    };
    for (const Case& c : cases) EXPECT_EQ(importStartDirectory(c.current, c.program), c.start) << c.current.size();
}

}  // namespace
}  // namespace dactyla
