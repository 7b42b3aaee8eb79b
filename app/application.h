#pragma once
// The program's state and its main window's behaviour: the sound themes, the users, the live
// options, the open corpus and the drill, with the course, the weak-key drill and the keyboard
// guide beside it. What the drill does to the desktop is MainWindowEffects'; what it asks of the
// program (users, records, the Start/Stop item) is answered here.
#include <memory>
#include <string>

#include "app/keyboard_window.h"
#include "app/main_menu.h"
#include "app/main_window_effects.h"
#include "app/window_painter.h"
#include "corpus/sentence_corpus.h"
#include "course/course.h"
#include "drill/drill.h"
#include "drill/drill_source.h"
#include "editors/settings_editor.h"
#include "guide/guide_follower.h"
#include "guide/keyboard_choice.h"
#include "guide/timing_knowledge.h"
#include "platform/system.h"
#include "platform/win32/windows_headers.h"
#include "progress/key_timing.h"
#include "progress/user_timings.h"
#include "sound/sound_theme.h"
#include "users/data_root.h"
#include "users/options_file.h"
#include "users/user_registry.h"
#include "weak_keys/weak_key_source.h"

namespace dactyla::app {

class Application final : private DrillShell,
                          private DrillRecords,
                          private UserHost,
                          private SettingsHost,
                          private CourseHost,
                          private WeakKeyHost,
                          private GuideShell {
public:
    // Users and the texts live in `dataRoot` (users/data_root.h); sounds stay in `programDirectory`.
    Application(HINSTANCE instance, std::string programDirectory, DataRoot dataRoot);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The main window's messages (shell/window_procedure.h); every one not handled here goes to
    // DefWindowProcW.
    void attach(HWND window);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Both session timers arrive here.
    void onTimer(UINT_PTR timerId, DWORD messageTime);

private:
    // Messages.
    bool onCreate();
    void layOut();
    void onDpiChanged(const RECT& suggested);
    void onDestroy();
    void onPaint();
    void onKeyDown(WPARAM virtualKey);
    void onChar(WPARAM utf16Code);
    void onKillFocus();
    void onMoved();

    // Commands.
    void dispatchCommand(unsigned command);
    void sendCommand(unsigned command);
    void pauseRunningSession();
    void refuseDuringSession();
    void switchLanguage();
    void toggleAlphabet();
    // The drills beside sentences and the alphabet.
    void chooseSource(DrillSource clicked);
    void loadDrillSource();
    void applyDrillSource();
    void checkSourceItems();
    Course* openCourse();
    void openCourseWindow();
    void refreshCourseLine();
    WeakKeySource* openWeakKeys();
    // The key timings of the user and language, with the running session's keystrokes.
    const UserTimings& timings();
    void loadTimings();
    void openAbout();
    void openNewUser();
    void openSettings();
    void switchUser(std::int32_t number);
    // Interface language: the switch, and the language a user chose (Russian when none).
    void switchInterfaceLanguage();
    void followUserInterfaceLanguage();
    void speak(std::string_view tag);
    void repaint();

    // The on-screen keyboard.
    void loadKeyboardChoice();
    void chooseNextKeyboardMode();
    void applyKeyboardMode();
    // After every keystroke, command and focus change: the keyboard shows what the drill does.
    void followDrill(unsigned char typed, std::uint32_t now);
    bool sessionRunning() const { return drill_.session().sessionRunning; }

    // DrillShell
    bool hasCurrentUser() override;
    void requestNewUser() override;
    void updateStartStopLabel() override;
    void closeMainWindow() override;
    // DrillRecords
    bool appendResult(std::uint16_t speed, float errorPercent, std::uint8_t minutes, std::uint8_t seconds) override;
    void addTotals(std::uint32_t characters, std::uint32_t seconds) override;
    void addKeyCounts(const KeyCounts& counts, const std::vector<TimedKeystroke>& keystrokes) override;
    // UserHost
    void addUserMenuItem(const std::string& name, std::int32_t number) override;
    void checkUserItem(std::int32_t number) override;
    void checkAlphabetItem() override;
    void showError(const std::string& text, const std::string& title) override;
    void closeCorpus() override;
    void openCorpus() override;
    // SettingsHost (checkAlphabetItem is UserHost's)
    bool isSessionRunning() override { return sessionRunning(); }
    void sendLanguageSwitch() override;
    CorpusFigures corpusFigures() override;
    bool reindex(const Options& live) override;
    void invalidateMainWindow(bool now) override;
    // CourseHost
    std::uint32_t tickCount() override { return platform::tickCount(); }
    KeyMastery mastery(const CourseTargets& targets) override;
    FocusFigures figures(unsigned char key, const CourseTargets& targets) override;
    std::shared_ptr<const CourseText> text() override;
    void tell(const std::string& text) override;
    void changed() override { refreshCourseLine(); }
    // WeakKeyHost
    WeaknessInput weaknessEvidence() override;
    std::optional<ScanText> drillText() override;
    DrillCorpus* sentences() override { return corpus_.get(); }
    void notify(const std::string& text) override;
    // GuideShell
    void showPicture(bool russian, const KeyboardPicture& picture) override;
    void armHintTimer(std::optional<std::uint32_t> ms) override;
    void markHinted() override { drill_.markHinted(); }

    HINSTANCE instance_;
    std::string programDirectory_;
    DataRoot dataRoot_;
    // Process-wide objects, created in this order before the window and released in reverse.
    // The registry only keeps a reference to the live options it is given here.
    SoundThemes themes_;
    UserRegistry registry_;
    LiveOptions live_;
    std::unique_ptr<SentenceCorpus> corpus_;
    WindowPainter painter_;
    MainWindowEffects effects_;
    Drill drill_;
    // The added drill chosen by the current user, and the course of the user and language while
    // it is the one.
    DrillSource addedSource_ = DrillSource::sentences;
    CourseReading courseSettings_;
    bool courseOrderTold_ = false;
    CourseTextCache courseTexts_;
    std::unique_ptr<Course> course_;
    std::string courseLine_;
    // The weak-key drill of the user and language while it is the one.
    std::unique_ptr<WeakKeySource> weakKeys_;
    MainMenu menu_;
    // The settings page shown last; the dialog reopens on it within the run.
    unsigned settingsTab_ = kGeneralPage;
    UserTimings timings_;
    bool sessionWasRunning_ = false;  // a session's start reads the timings afresh
    TimingKnowledge keyKnowledge_ {[this](unsigned char byte) { return &timings().key(byte); }};
    GuideFollower guide_ {keyKnowledge_, *this};
    KeyboardChoice keyboardChoice_;
    KeyboardWindow keyboard_;
    // The screen as a program unaware of scaling sees it: the fonts and the layout follow it.
    SIZE screenUnits_ {};
    HWND window_ = nullptr;
};

}  // namespace dactyla::app
