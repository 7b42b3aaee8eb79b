#pragma once
// What the settings dialog decides, without a window in sight: the working copy of the options,
// the page shown, what every page control does, the language lock, Apply and OK, and which
// frame button is enabled, default and focused. The dialog procedures perform it through
// SettingsView; the program and its corpus are reached through SettingsHost. Tests record both.
#include <cstdint>
#include <optional>
#include <string>

#include "resources/resource.h"
#include "users/options_file.h"

namespace dactyla {

// Control ids of the frame (dialog 110) and its pages (153 "Общие", 154 "Текст"), by the names
// the editor speaks of them; the numbers are the resources'. OK and Cancel are Windows' own
// IDOK and IDCANCEL (the dialogs check that they agree).
namespace settingsControl {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kApply = IDC_SETTINGS_APPLY;
inline constexpr int kTabs = IDC_SETTINGS_TABS;
// Page "Общие"
inline constexpr int kPictureDesktop = IDC_PICTURE_DESKTOP;  // picture = id - 3000
inline constexpr int kPictureMountains = IDC_PICTURE_MOUNTAINS;
inline constexpr int kPictureGrass = IDC_PICTURE_GRASS;
inline constexpr int kTimerMinutes = IDC_TIMER_MINUTES;
inline constexpr int kTimerSeconds = IDC_TIMER_SECONDS;
inline constexpr int kBackgroundSound = IDC_BACKGROUND_SOUND;
inline constexpr int kTimerEnabled = IDC_TIMER_ENABLED;
inline constexpr int kAllowCapitals = IDC_ALLOW_CAPITALS;
inline constexpr int kUniformLetters = IDC_UNIFORM_LETTERS;
inline constexpr int kAlphabet = IDC_ALPHABET;
// Page "Текст"
inline constexpr int kEnglish = IDC_LANGUAGE_ENGLISH;  // russian = id - 2000
inline constexpr int kRussian = IDC_LANGUAGE_RUSSIAN;
inline constexpr int kImport = IDC_IMPORT_SENTENCES;
inline constexpr int kMinLength = IDC_MIN_LENGTH;
inline constexpr int kMaxLength = IDC_MAX_LENGTH;
inline constexpr int kSentenceCount = IDC_SENTENCE_COUNT;
inline constexpr int kPosition = IDC_SENTENCE_POSITION;
}  // namespace settingsControl

inline constexpr unsigned kGeneralPage = 0;
inline constexpr unsigned kTextPage = 1;
inline constexpr unsigned kTimerDigits = 2;
inline constexpr unsigned kLengthDigits = 3;

struct CorpusFigures {
    std::uint32_t sentences = 0;  // entries of the user's index
    std::uint32_t position = 0;   // sentences already taken
};

// The program around the dialog.
class SettingsHost {
public:
    virtual ~SettingsHost() = default;
    // A session is running, paused or not.
    virtual bool isSessionRunning() = 0;
    // The language command, run to its end before this returns: it marks the options dirty,
    // closes the corpus, flips the live language and opens the other language's corpus.
    virtual void sendLanguageSwitch() = 0;
    // The open corpus's figures; zeros when none is open.
    virtual CorpusFigures corpusFigures() = 0;
    // Rebuilds the open corpus's index for `live` (scan in text order, position 0, a new order of
    // all entries, header written). False when the index could not be written; true when no
    // corpus is open, whose next opening builds the index for the options it is given.
    virtual bool reindex(const Options& live) = 0;
    // The main window's whole client area, background included, is to be painted again;
    // `now` paints it before this returns.
    virtual void invalidateMainWindow(bool now) = 0;
    // The check mark of "Алфавит" follows the live alphabetMode.
    virtual void checkAlphabetItem() = 0;
};

// The frame and the page shown. Page calls address the current page; there is always one
// while the editor calls them, except when a page could not be created (see editText).
class SettingsView {
public:
    virtual ~SettingsView() = default;
    // Page controls. Texts are CP1251.
    virtual void checkButton(int id, bool checked) = 0;
    virtual bool isChecked(int id) = 0;
    // Checks `checked` and clears the others of first..last; an id outside clears them all.
    virtual void checkRadio(int first, int last, int checked) = 0;
    virtual void enableControl(int id, bool enabled) = 0;
    virtual void setReadOnly(int id, bool readOnly) = 0;
    virtual void limitText(int id, unsigned characters) = 0;
    virtual void setText(int id, const std::string& text) = 0;
    // Nothing when there is no page or no such control on it.
    virtual std::optional<std::string> editText(int id) = 0;
    // Frame.
    virtual bool applyEnabled() = 0;
    virtual void enableApply(bool enabled) = 0;
    virtual void setDefaultButton(int id) = 0;
    // A frame button or a control of the page.
    virtual void focusControl(int id) = 0;
    virtual void closeDialog() = 0;
    // String 5 in an error box owned by the frame, titled "Облом".
    virtual void showLanguageLocked() = 0;
    // The sentence import dialog, modal, owned by the page; it may call applyTextOptions.
    virtual void runImportDialog() = 0;
};

enum class PageEvent {
    clicked,      // a button of the page was clicked
    editChanged,  // an edit's text changed
};

// Carries the working copy's language and length window into the live options and the open
// corpus: the language first (the command runs to its end), then, if the window changed, the
// clamped window and a reindex of the corpus now open. The other fields are the caller's.
// A reindex that cannot be written puts the previous window back into the live options and
// the working copy and rebuilds the index for it where the disk allows, so the options never
// name a window the index was not built for; false then. A language command that did not switch
// leaves the working copy on the live language for the same reason.
// The import dialog calls this when it opens, through SettingsEditor::applyTextOptions.
bool applyTextOptions(SettingsHost& host, LiveOptions& live, Options& working);

// Timer fields as the page reads them: empty or unreadable text is 0; the total stops at 3600;
// seconds above 59 count as they are.
std::uint16_t timerFromFields(const std::string& minutes, const std::string& seconds);
// A length field: empty or unreadable text is 0; values beyond 16 bits stop at 65535.
std::uint16_t lengthFromField(const std::string& text);

class SettingsEditor {
public:
    // The working copy starts as a copy of the live options. `settingsTab` outlives the dialog.
    SettingsEditor(LiveOptions& live, unsigned& settingsTab, SettingsHost& host, SettingsView& view);
    SettingsEditor(const SettingsEditor&) = delete;
    SettingsEditor& operator=(const SettingsEditor&) = delete;

    // The working copy; the import dialog reads its language and window and may set maxCapitalRun.
    Options& workingOptions() { return working_; }
    unsigned settingsTab() const { return settingsTab_; }

    // showPage: the old page's edits are read back before it goes; then the selected tab
    // becomes settingsTab and its page is created, which calls initPage.
    void leavePage() { readPageBack(); }
    void selectPage(unsigned tab) { settingsTab_ = tab; }
    // Fills the new page of settingsTab from the working copy. Filling the edits raises their
    // change notifications, which enable Apply; Apply is put back as it was before.
    void initPage();
    // Takes the current page's edits into the working copy; check boxes and radios keep it
    // up to date click by click.
    void readPageBack();

    void pageCommand(int id, PageEvent event);
    void frameCommand(int id);

    // applyTextOptions on the working copy, for the import dialog.
    bool applyTextOptions();

private:
    void fillGeneralPage();
    void fillTextPage();
    void showCorpusFigures();
    void changeLanguage();
    void lockLanguage();
    void importSentences();
    void applyOrOk(bool ok);
    void settleOnCancel();

    LiveOptions& live_;
    unsigned& settingsTab_;
    SettingsHost& host_;
    SettingsView& view_;
    Options working_;
};

}  // namespace dactyla
