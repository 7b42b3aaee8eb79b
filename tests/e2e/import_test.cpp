// The sentence import of the real program: from the settings page "Текст" through the system's
// open-file dialog to the sentences added to the text and the index, the refusal of the
// program's own text, files without sentences and files named outside CP1251.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "driver/expect.h"
#include "driver/file_dialog.h"
#include "driver/host.h"
#include "driver/program.h"
#include "driver/screen.h"
#include "driver/settings.h"
#include "editors/import_editor.h"

namespace dactyla::e2e {
namespace {

using namespace std::chrono_literals;

namespace import = importControl;

constexpr int kImportButton = IDC_IMPORT_SENTENCES;  // "Добавить предложений..." on page "Текст"
const std::wstring kImportTitle = wide("Добавление предложений из файла");
const std::wstring kChooserTitle = wide("Выбор предложений из файла");

// Three sentences the import takes (one joined across a hyphenated line break) and one it
// refuses for its quotes.
constexpr const char* kBook =
    "Reading books is a fine habit. Bad 'quoted' one here. The night was long and qui-\r\n"
    "et. Small talk is fine!";
const std::vector<std::string> kOldText = {"The quick brown fox jumps over the lazy dog.",
                                           "A second sentence stands here.",
                                           "Typing every day makes fingers quick."};

class ImportTest : public ::testing::Test {
protected:
    ImportTest() : directory_(false) {
        directory_.writeText(false, kOldText);
        directory_.writeText(true, {});
        makeDirectory(directory_.file("Books"));
        StoredOptions anna;
        anna.russian = false;
        anna.backgroundSound = false;
        directory_.addUser("Anna", storedOptionsBytes(anna));
    }

    void start() {
        program_ = std::make_unique<RunningProgram>(directory_);
        ASSERT_TRUE(program_->waitForMainWindow());
    }
    // Settings, page "Текст", then the import dialog.
    void openImport() {
        frame_ = openSettings(*program_, SettingsOpening::hotKey);
        ASSERT_NE(frame_, nullptr);
        ASSERT_TRUE(selectSettingsTab(frame_, 1));
        page_ = settingsPage(frame_);
        postClick(page_, kImportButton);
        dialog_ = program_->waitForWindow(kDialogClass, kImportTitle);
        ASSERT_NE(dialog_, nullptr) << "the import dialog did not open";
    }
    // A file under Books/, written as it is (CP1251 bytes), and its Windows path.
    std::wstring book(const std::string& nameUtf8, const std::string& bytes) {
        const std::string path = directory_.file("Books/" + nameUtf8);
        EXPECT_TRUE(writeBytes(path, bytes));
        return windowsPath(path);
    }
    // "Обзор...", the file typed into the open-file dialog, and the scan waited for.
    void browse(const std::wstring& path) {
        postClick(dialog_, import::kBrowse);
        ASSERT_TRUE(chooseInFileDialog(*program_, kChooserTitle, path));
        ASSERT_TRUE(program_->settle());
    }
    std::wstring shown(int id) { return controlText(dialog_, id); }
    std::string tool(const std::wstring& arguments) { return runDactylaText(arguments).value_or("(did not run)"); }

    ProgramDirectory directory_;
    std::unique_ptr<RunningProgram> program_;
    HWND frame_ = nullptr;
    HWND page_ = nullptr;
    HWND dialog_ = nullptr;
};

TEST_F(ImportTest, ChosenFileIsScannedAddedAndIndexedAgainAfterARestart) {
    start();
    openImport();
    EXPECT_EQ(shown(import::kLanguage), L"English");
    EXPECT_EQ(shown(import::kMinLength), L"10");
    EXPECT_EQ(shown(import::kMaxLength), L"120");
    EXPECT_EQ(shown(import::kCapitalRun), L"4");
    EXPECT_EQ(shown(import::kTotal), L"3");
    EXPECT_EQ(controlText(page_, settings::kSentenceCount), L"???") << "while the import dialog is open";
    EXPECT_FALSE(isEnabled(dialog_, import::kAdd));

    const std::wstring path = book("book.txt", kBook);
    browse(path);
    EXPECT_EQ(shown(import::kFound), L"3");
    EXPECT_EQ(shown(import::kPath), path);
    EXPECT_TRUE(isEnabled(dialog_, import::kAdd));
    EXPECT_EQ(defaultButton(dialog_), import::kAdd);
    EXPECT_EQ(focusedWindow(*program_), ::GetDlgItem(dialog_, import::kAdd));
    pause(300ms);
    saveScreenshot("import-scanned");

    clickControl(dialog_, import::kAdd);
    EXPECT_EQ(shown(import::kTotal), L"6");
    EXPECT_EQ(shown(import::kFound), L"0");
    EXPECT_EQ(shown(import::kPath), L"");
    EXPECT_FALSE(isEnabled(dialog_, import::kAdd));
    EXPECT_EQ(defaultButton(dialog_), import::kBrowse);

    ASSERT_TRUE(program_->answer(dialog_, IDCANCEL));
    EXPECT_EQ(controlText(page_, settings::kSentenceCount), L"6");
    EXPECT_EQ(defaultButton(frame_), IDOK) << "OK is the default after an import";
    ASSERT_TRUE(closeSettings(*program_, frame_, IDOK));
    program_->pressKey(VK_F4);
    ASSERT_TRUE(program_->waitForExit());

    // The header was left alone, so the next start rebuilds the index over old and new text.
    start();
    program_->pressKey(VK_F4);
    ASSERT_TRUE(program_->waitForExit());
    const std::string index = tool(L"index \"" + windowsPath(directory_.path()) + L"\" Anna --lang en");
    EXPECT_NE(index.find("(valid)"), std::string::npos) << index;
    EXPECT_NE(index.find("sentences 6\n"), std::string::npos) << index;
    const std::string listed = tool(L"check \"" + windowsPath(directory_.file("TextData.Eng")) + L"\" --lang en");
    EXPECT_EQ(listed.rfind("6 sentences", 0), 0u) << listed;
    for (const std::string& sentence : {kOldText[0], kOldText[2], std::string("The night was long and quiet."),
                                        std::string("Small talk is fine!")}) {
        EXPECT_NE(listed.find(sentence), std::string::npos) << sentence;
    }
}

// One dialog through the cases that do not end in sentences to add, and a file named in Greek
// and Chinese.
TEST_F(ImportTest, UnicodeNamesOpenCancelOwnTextAndUnreadableFilesKeepTheScanEmptyFilesAddNothing) {
    start();
    openImport();
    const std::wstring greek = book("Βιβλίο 書.txt", "Greek names open too. Another fine line here.");
    browse(greek);
    EXPECT_EQ(shown(import::kPath), greek);
    EXPECT_EQ(shown(import::kFound), L"2");
    EXPECT_TRUE(isEnabled(dialog_, import::kAdd));

    postClick(dialog_, import::kBrowse);
    ASSERT_TRUE(cancelFileDialog(*program_, kChooserTitle));
    ASSERT_TRUE(program_->settle());
    EXPECT_EQ(shown(import::kFound), L"0");
    EXPECT_EQ(shown(import::kPath), L"");
    EXPECT_TRUE(isEnabled(dialog_, import::kAdd)) << "cancelling keeps the earlier scan";

    // Another spelling of the program's own text: Windows names ignore case.
    postClick(dialog_, import::kBrowse);
    ASSERT_TRUE(chooseInFileDialog(*program_, kChooserTitle, windowsPath(directory_.file("textdata.ENG"))));
    const HWND box = program_->waitForWindow(kDialogClass, wide("Облом"));
    ASSERT_NE(box, nullptr) << "the refusal";
    EXPECT_EQ(messageBoxText(box), wide("Загадка: кто немножко тормозит?\n\nP.S. Отгадка в зеркале."));
    ASSERT_TRUE(program_->answer(box, IDOK));
    EXPECT_EQ(shown(import::kPath), L"");
    EXPECT_TRUE(isEnabled(dialog_, import::kAdd)) << "nothing was scanned";

    // A file another program holds without sharing cannot be read: said, and the scan is kept.
    const std::wstring locked = book("locked.txt", "A sentence nobody can read.");
    const HANDLE holder = ::CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    postClick(dialog_, import::kBrowse);
    const bool chosen = chooseInFileDialog(*program_, kChooserTitle, locked);
    const HWND unreadable = program_->waitForWindow(kDialogClass, wide("Облом"));
    const std::wstring said = unreadable != nullptr ? messageBoxText(unreadable) : L"";
    if (unreadable != nullptr) program_->answer(unreadable, IDOK);
    ::CloseHandle(holder);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(said, wide("Не удается прочитать выбранный файл."));
    EXPECT_EQ(shown(import::kPath), L"");
    EXPECT_TRUE(isEnabled(dialog_, import::kAdd)) << "the earlier scan is kept";

    browse(book("lower.txt", "only lower case here. Nor 'this' one."));
    EXPECT_EQ(shown(import::kFound), L"0");
    EXPECT_FALSE(isEnabled(dialog_, import::kAdd));
    EXPECT_EQ(windowsOf(program_->processId(), kDialogClass).size(), 2u) << "settings and import only";

    ASSERT_TRUE(program_->answer(dialog_, IDCANCEL));
    EXPECT_EQ(controlText(page_, settings::kSentenceCount), L"3");
    ASSERT_TRUE(closeSettings(*program_, frame_, IDCANCEL));
}

}  // namespace
}  // namespace dactyla::e2e
