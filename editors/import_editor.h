#pragma once
// What the sentence import dialog (185) decides, without a window: what it shows when it opens,
// "Обзор..." with the capital-run limit, the refusal of the corpus's own text, the scan and its
// progress, "Добавить !" and its counts, and which button is enabled, default and focused. The
// dialog procedure performs it through ImportView; the settings dialog and the open corpus are
// reached through ImportHost.
#include <cstdint>
#include <optional>
#include <string>

#include "corpus/sentence_corpus.h"
#include "corpus/sentence_import.h"
#include "corpus/text_encoding.h"
#include "platform/file.h"
#include "resources/resource.h"
#include "users/options_file.h"

namespace dactyla {

// Control ids of dialog 185 by the names the editor speaks of them; the numbers are the resources'.
namespace importControl {
inline constexpr int kClose = 2;  // IDCANCEL: "Я больше не буду", also the close box and Esc
inline constexpr int kAdd = IDC_IMPORT_ADD;
inline constexpr int kBrowse = IDC_IMPORT_BROWSE;
inline constexpr int kPath = IDC_IMPORT_PATH;
inline constexpr int kProgress = IDC_IMPORT_PROGRESS;
inline constexpr int kMaxLength = IDC_IMPORT_MAX_LENGTH;
inline constexpr int kMinLength = IDC_IMPORT_MIN_LENGTH;
inline constexpr int kFound = IDC_IMPORT_FOUND;
inline constexpr int kTotal = IDC_IMPORT_TOTAL;
inline constexpr int kEncoding = IDC_IMPORT_ENCODING;  // below the close button: what the chosen file was read as
inline constexpr int kLanguage = IDC_IMPORT_LANGUAGE;
inline constexpr int kCapitalRun = IDC_IMPORT_CAPITAL_RUN;
}  // namespace importControl

std::string encodingShown(TextEncoding encoding);

// Characters the capital-run field takes: a limit stops at 255.
inline constexpr unsigned kCapitalRunDigits = 3;


// A file chosen in the open-file dialog.
struct ChosenFile {
    // Opened for reading by the view; closed when it cannot be opened.
    platform::File file;
    // The same file as the open corpus's text.
    bool corpusText = false;
};

// The program around the dialog.
class ImportHost {
public:
    virtual ~ImportHost() = default;
    // The settings dialog's applyTextOptions: a pending change of language or window is
    // carried out, so the open corpus matches what the scan will use.
    virtual void applyTextOptions() = 0;
    // The open corpus of the live language; null when none could be opened.
    virtual SentenceCorpus* corpus() = 0;
};

// The dialog's controls. Texts are CP1251.
class ImportView {
public:
    virtual ~ImportView() = default;
    virtual void setText(int id, const std::string& text) = 0;
    virtual std::string text(int id) = 0;
    virtual void enableControl(int id, bool enabled) = 0;
    virtual void setDefaultButton(int id) = 0;
    virtual void focusControl(int id) = 0;
    // The progress bar, 0 to 100; shown at once, while the scan still runs.
    virtual void setProgress(int percent) = 0;
    // The open-file dialog; nothing when the user cancels.
    virtual std::optional<ChosenFile> chooseFile() = 0;
    // The path field shows the file chooseFile returned last.
    virtual void showChosenPath() = 0;
    virtual void clearPath() = 0;
    // An error box owned by the dialog, titled "Облом".
    virtual void showError(const std::string& text) = 0;
    virtual void closeDialog() = 0;
};

// The capital-run field: digits only, empty or unreadable is 0, values beyond 8 bits stop at 255.
std::uint8_t capitalRunFromField(const std::string& text);

// Where the open-file dialog starts: the current directory, unless that is the program's own
// directory; then its parent, unless the parent is a bare drive ("C:"). Paths without a
// trailing backslash, compared as they are.
std::wstring importStartDirectory(const std::wstring& current, const std::wstring& program);

class ImportEditor {
public:
    // `working` is the settings dialog's working copy; `live` the live options, which take a
    // capital-run limit raised from 0.
    ImportEditor(LiveOptions& live, Options& working, ImportHost& host, ImportView& view,
                 std::string temporaryDirectory);
    ImportEditor(const ImportEditor&) = delete;
    ImportEditor& operator=(const ImportEditor&) = delete;

    // Fills the dialog from the working copy and carries pending text options out.
    void init();
    // A command by control id alone, whatever its notification.
    void command(int id);

    // "Добавить !" is enabled.
    bool canAdd() const { return canAdd_; }

private:
    void browse();
    void scan(ChosenFile chosen);
    void add();
    void close();
    void clearDisplay();
    void readCapitalRun();
    void showTotal();
    void settleOn(int button);

    LiveOptions& live_;
    Options& working_;
    ImportHost& host_;
    ImportView& view_;
    SentenceImport import_;
    bool canAdd_ = false;
};

}  // namespace dactyla
