#include "app/application.h"

#include "app/course_window.h"
#include "app/layout.h"
#include "app/progress_chart.h"
#include "app/progress_viewer.h"
#include "course/course_mastery.h"
#include "course/course_texts.h"
#include "dialogs/about_dialog.h"
#include "dialogs/help_dialog.h"
#include "dialogs/import_dialog.h"
#include "dialogs/new_user_dialog.h"
#include "dialogs/settings_dialog.h"
#include "platform/directory.h"
#include "platform/sound_player.h"
#include "platform/system.h"
#include "progress/key_statistics.h"
#include "resources/resource.h"
#include "shell/dpi.h"
#include "shell/handles.h"
#include "texts/interface_texts.h"
#include "users/interface_language.h"
#include "users/results_log.h"

namespace dactyla::app {
namespace {

constexpr unsigned kLoopedFlags = platform::soundFlag::async | platform::soundFlag::loop;

// Before anybody has chosen, the first user's dialog speaks the language of Windows, or English
// where the program has no table for it.
void speakTheLanguageOfWindows() {
    const texts::TextTable* table = texts::languageForWindows(::GetUserDefaultUILanguage());
    texts::chooseLanguage(table != nullptr ? table->tag : "en");
}

void CALLBACK timerProcedure(HWND window, UINT, UINT_PTR timerId, DWORD messageTime) noexcept {
    auto* application = reinterpret_cast<Application*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (application != nullptr) application->onTimer(timerId, messageTime);
}

}  // namespace

Application::Application(HINSTANCE instance, std::string programDirectory, DataRoot dataRoot)
    : instance_(instance),
      programDirectory_(std::move(programDirectory)),
      dataRoot_(std::move(dataRoot)),
      themes_(programDirectory_, platform::systemSoundPlayer()),
      registry_(dataRoot_.directory, live_, *this),
      effects_(themes_, painter_, live_.options, timerProcedure),
      drill_(DrillEffects {effects_, effects_, effects_, effects_, effects_, *this, *this}, live_.options),
      courseSettings_(readCourseOrder(programDirectory_)) {}

void Application::attach(HWND window) {
    window_ = window;
    effects_.attach(window);
}

LRESULT Application::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return onCreate() ? 0 : -1;
    case WM_DESTROY:
        onDestroy();
        return 0;
    case WM_KILLFOCUS:
        onKillFocus();
        followDrill(0, platform::tickCount());
        return ::DefWindowProcW(window_, message, wParam, lParam);
    case WM_WINDOWPOSCHANGED:
        onMoved();
        return ::DefWindowProcW(window_, message, wParam, lParam);
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_KEYDOWN:
        onKeyDown(wParam);
        followDrill(0, platform::tickCount());
        return 0;
    case WM_CHAR:
        onChar(wParam);
        return 0;
    case WM_COMMAND:
        dispatchCommand(LOWORD(wParam));
        followDrill(0, platform::tickCount());
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(*reinterpret_cast<const RECT*>(lParam));
        return 0;
    default:
        return ::DefWindowProcW(window_, message, wParam, lParam);
    }
}

// Fonts and layout, the user menu, the users (a new one when there is none), the Start/Stop
// label and the idle melody. False ends the program: nobody to type for.
bool Application::onCreate() {
    screenUnits_ = screenInUnits(systemDpi());
    layOut();
    menu_.attach(::GetMenu(window_));
    if (!registry_.loadUsers()) {
        speakTheLanguageOfWindows();
        sendCommand(IDM_NEW_USER);
        if (registry_.currentUser() == nullptr) return false;
    }
    followUserInterfaceLanguage();
    loadKeyboardChoice();
    themes_.play(ThemeId::loop, kLoopedFlags);
    return true;
}

// Fonts and layout for the client area at the window's DPI.
void Application::layOut() {
    RECT client {};
    ::GetClientRect(window_, &client);
    WindowDc dc(window_);
    painter_.setUp(dc.get(), screenUnits_.cx, client.right, client.bottom, windowDpi(window_));
}

// Moved to a monitor of another DPI: Windows suggests the place that keeps the window's size in
// 96-DPI units; fonts and layout are made again for the new pixels.
void Application::onDpiChanged(const RECT& suggested) {
    ::SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    layOut();
    ::InvalidateRect(window_, nullptr, TRUE);
}

// What must survive the run is stored: a running session's totals and position, changed options.
void Application::onDestroy() {
    keyboard_.destroy();
    drill_.shutdown();
    closeCorpus();
    if (live_.optionsDirty && registry_.currentUser() != nullptr) writeOptions(live_);
    painter_.releaseFonts();
    live_.optionsFile.close();
    ::KillTimer(window_, kSessionTimerId);
    ::KillTimer(window_, kClockTimerId);
    themes_.play(ThemeId::exit, platform::soundFlag::sync);
    ::PostQuitMessage(0);
}

void Application::onPaint() {
    PaintDc dc(window_);
    const UserNode* user = registry_.currentUser();
    WindowContent content;
    content.picture = live_.options.picture;
    content.userName = user != nullptr ? &user->name : nullptr;
    content.strip = drill_.visibleStrip();
    content.clockMinutes = drill_.session().clockMinutes;
    content.clockSeconds = drill_.session().clockSeconds;
    if (course_ && drill_.lineSource() == course_.get()) content.courseLine = &courseLine_;
    painter_.paint(dc.get(), instance_, content);
}

void Application::onKeyDown(WPARAM virtualKey) {
    switch (virtualKey) {
    case VK_F2:
        sendCommand(IDM_SETTINGS);
        break;
    case VK_F4:
        ::DestroyWindow(window_);
        break;
    case VK_PAUSE:
        if (sessionRunning()) drill_.setPaused(!drill_.session().sessionPaused);
        break;
    case VK_F1:
        if (!sessionRunning()) sendCommand(IDM_SWITCH_LANGUAGE);
        break;
    default:
        break;
    }
}

// The window is a Unicode window, so Russian letters arrive whatever the system's code page;
// the drill judges CP1251 bytes. A character CP1251 lacks becomes 0, which no text holds. The
// message's own time is when the key went down, however long the message waited in the queue.
// The keyboard is drawn after the strip, so the strip's own keystroke time stays as it was.
void Application::onChar(WPARAM utf16Code) {
    const unsigned char byte = platform::utf16ToCp1251Byte(static_cast<char16_t>(utf16Code));
    const auto messageTime = static_cast<std::uint32_t>(::GetMessageTime());
    drill_.onChar(static_cast<char>(byte), messageTime);
    followDrill(byte, messageTime);
}

void Application::onKillFocus() {
    if (sessionRunning()) drill_.setPaused(true);
}

void Application::onMoved() { keyboard_.followOwner(); }

void Application::onTimer(UINT_PTR timerId, DWORD messageTime) {
    drill_.onClockTimer(static_cast<unsigned>(timerId), messageTime);
}

void Application::dispatchCommand(unsigned command) {
    switch (command) {
    case IDM_START_STOP:
        if (sessionRunning()) drill_.endSession();
        else drill_.startSession();
        break;
    case IDM_SWITCH_LANGUAGE:
        if (sessionRunning()) refuseDuringSession();
        else switchLanguage();
        break;
    case IDM_ALPHABET:
        if (sessionRunning()) refuseDuringSession();
        else toggleAlphabet();
        break;
    case IDM_KEYBOARD:
        chooseNextKeyboardMode();
        break;
    case IDM_INTERFACE_LANGUAGE:
        if (sessionRunning()) refuseDuringSession();
        else switchInterfaceLanguage();
        break;
    case IDM_COURSE:
        if (sessionRunning()) refuseDuringSession();
        else chooseSource(DrillSource::course);
        break;
    case IDM_WEAK_KEYS:
        if (sessionRunning()) refuseDuringSession();
        else chooseSource(DrillSource::weakKeys);
        break;
    case IDM_COURSE_WINDOW:
        openCourseWindow();
        break;
    case IDM_SETTINGS:
        openSettings();
        break;
    case IDM_HELP:
        pauseRunningSession();
        dialogs::showHelpDialog(instance_, window_);
        break;
    case IDM_ABOUT:
        openAbout();
        break;
    case IDM_NEW_USER:
        if (sessionRunning())
            effects_.showMessageBox(texts::textString("refusal.finishSessionFirst"),
                                    texts::textString("refusal.title"), MB_ICONERROR);
        else openNewUser();
        break;
    case IDM_PROGRESS:
        if (registry_.currentUser() != nullptr) showProgress(window_, registry_.userDirectory(), live_.options);
        break;
    case IDM_CHART:
        if (registry_.currentUser() == nullptr) break;
        pauseRunningSession();
        showProgressChart(instance_, window_, registry_.userDirectory(), live_.options.russian != 0);
        break;
    default:
        if (menu_.isUserCommand(command) && !sessionRunning())
            switchUser(static_cast<std::int32_t>(command - IDM_USER_BASE));
        break;
    }
    if (sessionRunning()) effects_.parkPointer();
    if (live_.options.picture == 0) repaint();
}

void Application::sendCommand(unsigned command) { ::SendMessageW(window_, WM_COMMAND, command, 0); }

void Application::pauseRunningSession() {
    if (sessionRunning()) drill_.setPaused(true);
}

void Application::refuseDuringSession() { themes_.play(ThemeId::no, platform::soundFlag::async); }

void Application::switchLanguage() {
    live_.optionsDirty = true;
    closeCorpus();
    live_.options.russian = live_.options.russian ? 0 : 1;
    if (registry_.currentUser() != nullptr) openCorpus();
    updateStartStopLabel();
}

void Application::toggleAlphabet() {
    live_.optionsDirty = true;
    live_.options.alphabetMode = live_.options.alphabetMode ? 0 : 1;
    checkAlphabetItem();
}

// Turning one on turns the others off; the alphabet's switch lives in Options.dat, the added
// drill's choice in its own file.
void Application::chooseSource(DrillSource clicked) {
    if (registry_.currentUser() == nullptr) return;
    if (toggleSource(live_.options, addedSource_, clicked)) live_.optionsDirty = true;
    writeDrillSource(registry_.userDirectory(), addedSource_);
    applyDrillSource();
    // The course shows the keyboard in guide mode when it starts, unless the user chose a mode.
    if (activeSource(live_.options, addedSource_) == DrillSource::course) {
        const KeyboardChoice forCourse = choiceForCourse(keyboardChoice_);
        if (forCourse != keyboardChoice_) {
            keyboardChoice_ = forCourse;
            saveKeyboardChoice(registry_.userDirectory(), keyboardChoice_);
            applyKeyboardMode();
        }
    }
}

void Application::loadDrillSource() {
    addedSource_ = readDrillSource(registry_.userDirectory());
    if (yieldToAlphabet(live_.options, addedSource_)) writeDrillSource(registry_.userDirectory(), addedSource_);
}

// Called while idle only: the drill's feed changes between sessions.
void Application::applyDrillSource() {
    switch (activeSource(live_.options, addedSource_)) {
    case DrillSource::course:
        drill_.setLineSource(openCourse());
        break;
    case DrillSource::weakKeys:
        drill_.setLineSource(openWeakKeys());
        break;
    default:
        drill_.setLineSource(nullptr);
        break;
    }
    refreshCourseLine();
    checkSourceItems();
}

void Application::checkSourceItems() {
    const DrillSource active = activeSource(live_.options, addedSource_);
    menu_.checkAlphabetItem(active == DrillSource::alphabet);
    menu_.checkItem(IDM_COURSE, active == DrillSource::course);
    menu_.checkItem(IDM_WEAK_KEYS, active == DrillSource::weakKeys);
}

// The course of the current user and language, made and read when first needed. A key order
// file that cannot be used is said once a run.
Course* Application::openCourse() {
    if (registry_.currentUser() == nullptr) return nullptr;
    if (!course_) {
        if (!courseSettings_.problem.empty() && !courseOrderTold_) {
            courseOrderTold_ = true;
            tell(courseSettings_.problem);
        }
        CourseHost& host = *this;
        course_ = std::make_unique<Course>(host, courseSettings_.settings, registry_.userDirectory(),
                                           live_.options.russian != 0, live_.options);
        course_->load();
    }
    return course_.get();
}

// Made for the current user and language; it reads the statistics afresh at every session start.
WeakKeySource* Application::openWeakKeys() {
    if (registry_.currentUser() == nullptr) return nullptr;
    if (!weakKeys_) {
        WeakKeyHost& host = *this;
        weakKeys_ = std::make_unique<WeakKeySource>(host, live_.options, registry_.userDirectory());
    }
    return weakKeys_.get();
}

// Opens on the course of the language in force, whether or not course mode is on.
void Application::openCourseWindow() {
    Course* course = openCourse();
    if (course == nullptr) return;
    pauseRunningSession();
    CourseWindowRequest request {*course, *this};
    showCourseWindow(instance_, window_, request);
    refreshCourseLine();
    if (course_ && drill_.lineSource() != course_.get() && !sessionRunning()) {
        // Course mode off: the course stays only while it is used.
        course_.reset();
    }
}

// In course mode the guide judges keys by the course's targets.
void Application::refreshCourseLine() {
    const bool inCourse = course_ && drill_.lineSource() == course_.get();
    courseLine_ = inCourse ? course_->statusLine() : std::string();
    keyKnowledge_.setTargets(inCourse ? masteryTargets(course_->state().targets) : kDefaultMasteryTargets);
    if (window_ == nullptr) return;
    const RECT line = painter_.courseLineRect();
    ::InvalidateRect(window_, &line, TRUE);
}

// The "Laugh" before the dialog cuts off the looped theme; the one that fits plays again after.
void Application::openAbout() {
    pauseRunningSession();
    themes_.play(ThemeId::laugh, platform::soundFlag::async);
    dialogs::AboutTotals totals;
    totals.userExists = registry_.currentUser() != nullptr;
    if (totals.userExists) {
        const Totals stored = readTotals(live_);
        totals.storedCharacters = stored.characters;
        totals.storedSeconds = stored.seconds;
    }
    totals.sessionCharacters = drill_.session().correctCount;
    totals.sessionMinutes = drill_.session().clockMinutes;
    totals.sessionSeconds = drill_.session().clockSeconds;
    dialogs::showAboutDialog(instance_, window_, totals, dataRoot_.place);
    themes_.play(sessionRunning() ? ThemeId::pause : ThemeId::loop, kLoopedFlags);
}

// A new user keeps the language the dialog spoke to them.
void Application::openNewUser() {
    dialogs::NewUserRequest request;
    request.userExists = registry_.currentUser() != nullptr;
    request.createUser = [this](const std::string& name) {
        if (!registry_.createUser(name)) return false;
        if (!texts::speaksOwnLanguage())
            storeInterfaceLanguage(registry_.userDirectory(), std::string(texts::currentLanguage().tag),
                                   texts::languageTags());
        return true;
    };
    dialogs::showNewUserDialog(instance_, window_, request);
    loadKeyboardChoice();
    repaint();
}

// A running session is paused first and stays paused after the dialog.
void Application::openSettings() {
    pauseRunningSession();
    dialogs::SettingsRequest request {live_, settingsTab_, *this, {}};
    // The text refused as a source is the one openCorpus opened, in the language live then.
    request.runImport = [this](HWND page, SettingsEditor& editor) {
        dialogs::ImportRequest import {
            live_, editor, [this] { return corpus_.get(); },
            [this] { return platform::joinPath(dataRoot_.directory, textFileName(live_.options.russian != 0)); }};
        dialogs::showImportDialog(instance_, page, import);
    };
    dialogs::showSettingsDialog(instance_, window_, request);
}

// The outgoing user keeps their changed options; a user of the other language gets the
// language switch, so the corpus and the Start item follow.
void Application::switchUser(std::int32_t number) {
    const std::uint8_t russian = live_.options.russian;
    if (live_.optionsDirty) {
        writeOptions(live_);
        live_.optionsDirty = false;
    }
    registry_.selectUser(number);
    if (live_.options.russian != russian) {
        live_.options.russian = russian;
        sendCommand(IDM_SWITCH_LANGUAGE);
        live_.optionsDirty = false;
    }
    followUserInterfaceLanguage();
    loadKeyboardChoice();
    repaint();
}

// The choice is the current user's; without a user (or a file that takes it) it lasts the run.
void Application::switchInterfaceLanguage() {
    const std::string tag(texts::nextLanguage().tag);
    speak(tag);
    if (registry_.currentUser() != nullptr)
        storeInterfaceLanguage(registry_.userDirectory(), tag, texts::languageTags());
}

void Application::followUserInterfaceLanguage() {
    const StoredInterfaceLanguage stored =
        loadInterfaceLanguage(registry_.userDirectory(), texts::languageTags());
    speak(stored.state == StoredFileState::valid ? std::string_view(stored.tag) : texts::ownLanguage().tag);
}

void Application::speak(std::string_view tag) {
    texts::chooseLanguage(tag);
    menu_.translate();
    updateStartStopLabel();
    if (keyboard_.exists()) guide_.redraw();  // its finger names
}

// A file that cannot be read or is damaged leaves the keyboard off; the next choice replaces it.
void Application::loadKeyboardChoice() {
    keyboardChoice_ = registry_.currentUser() != nullptr ? dactyla::loadKeyboardChoice(registry_.userDirectory()).choice
                                                         : KeyboardChoice {};
    applyKeyboardMode();
}

// The choice is the user's even when it cannot be written: the keyboard follows it for the run.
void Application::chooseNextKeyboardMode() {
    keyboardChoice_ = choiceAfterMenuItem(keyboardChoice_);
    if (registry_.currentUser() != nullptr) saveKeyboardChoice(registry_.userDirectory(), keyboardChoice_);
    applyKeyboardMode();
}

void Application::applyKeyboardMode() {
    const bool shown = keyboardChoice_.mode != KeyboardMode::off;
    guide_.setMode(keyboardChoice_.mode);
    menu_.checkKeyboardItem(shown);
    if (shown && !keyboard_.exists())
        keyboard_.create(instance_, window_, [this] { guide_.hintDue(platform::tickCount()); });
    guide_.redraw();
    keyboard_.show(shown);
    followDrill(0, platform::tickCount());
}

void Application::followDrill(unsigned char typed, std::uint32_t now) {
    const SessionState& session = drill_.session();
    if (session.sessionRunning && !sessionWasRunning_) loadTimings();
    sessionWasRunning_ = session.sessionRunning;
    const TypingStrip& strip = drill_.strip();
    TypingMoment moment;
    moment.typing = session.sessionRunning && !session.sessionPaused;
    moment.expected = strip.remaining > 0 ? static_cast<unsigned char>(strip.lineBuffer[strip.cursor]) : 0;
    moment.correctCount = session.correctCount;
    moment.errorCount = session.errorCount;
    moment.typed = typed;
    guide_.follow(moment, live_.options.russian != 0, now);
}

void Application::showPicture(bool russian, const KeyboardPicture& picture) { keyboard_.update(russian, picture); }

void Application::armHintTimer(std::optional<std::uint32_t> ms) {
    keyboard_.armHintTimer(keyboard_.shown() ? ms : std::nullopt);
}

void Application::repaint() {
    ::InvalidateRect(window_, nullptr, TRUE);
    ::UpdateWindow(window_);
}

bool Application::hasCurrentUser() { return registry_.currentUser() != nullptr; }

void Application::requestNewUser() { sendCommand(IDM_NEW_USER); }

void Application::updateStartStopLabel() {
    menu_.updateStartStopLabel(window_, sessionRunning(), live_.options.russian != 0);
}

void Application::closeMainWindow() { ::DestroyWindow(window_); }

bool Application::appendResult(std::uint16_t speed, float errorPercent, std::uint8_t minutes, std::uint8_t seconds) {
    return dactyla::appendResult(registry_.userDirectory(), live_.options,
                                 SessionResult {speed, errorPercent, minutes, seconds});
}

void Application::addTotals(std::uint32_t characters, std::uint32_t seconds) {
    dactyla::addTotals(live_, characters, seconds);
}

// Statistics are a picture of progress, not a record the user was promised: a file that cannot
// be written costs this session's counts and asks nothing.
void Application::addKeyCounts(const KeyCounts& counts, const std::vector<TimedKeystroke>& keystrokes) {
    addKeyStatistics(registry_.userDirectory(), live_.options.russian != 0, counts, keystrokes);
    loadTimings();
}

void Application::addUserMenuItem(const std::string& name, std::int32_t number) { menu_.addUserItem(name, number); }

void Application::checkUserItem(std::int32_t number) { menu_.checkUserItem(number); }

// The alphabet turned on (menu, settings) ends an added drill: they exclude each other.
void Application::checkAlphabetItem() {
    menu_.checkAlphabetItem(live_.options.alphabetMode != 0);
    if (registry_.currentUser() != nullptr && yieldToAlphabet(live_.options, addedSource_)) {
        writeDrillSource(registry_.userDirectory(), addedSource_);
        if (!sessionRunning()) applyDrillSource();
    }
    checkSourceItems();
}

void Application::showError(const std::string& text, const std::string& title) {
    ::MessageBoxW(::GetActiveWindow(), platform::widen(text).c_str(), platform::widen(title).c_str(),
                  MB_ICONERROR | MB_OK);
}

// The course belongs to a user and language as the corpus does, and goes with it.
void Application::closeCorpus() {
    drill_.setCorpus(nullptr);
    drill_.setLineSource(nullptr);
    course_.reset();
    weakKeys_.reset();
    dactyla::closeCorpus(corpus_);
}

// A corpus that cannot be opened leaves none: the session start then says there is no text.
// A text saved by another editor is converted by the opening, which is said once, here.
void Application::openCorpus() {
    corpus_ = dactyla::openCorpus(live_.options, dataRoot_.directory, registry_.userDirectory());
    drill_.setCorpus(corpus_.get());
    loadTimings();
    if (corpus_ && corpus_->textConversion()) {
        const TextConversion& conversion = *corpus_->textConversion();
        effects_.showMessageBox(conversionMessage(conversion), conversionTitle(conversion),
                                conversion.converted ? MB_ICONINFORMATION : MB_ICONERROR);
    }
    loadDrillSource();
    applyDrillSource();
}

// Sent, so the corpus of the other language is open before the settings go on.
void Application::sendLanguageSwitch() { sendCommand(IDM_SWITCH_LANGUAGE); }

CorpusFigures Application::corpusFigures() {
    if (!corpus_) return {};
    return {corpus_->entryCount(), corpus_->position()};
}

bool Application::reindex(const Options& live) { return !corpus_ || corpus_->rebuild(live); }

void Application::invalidateMainWindow(bool now) {
    ::InvalidateRect(window_, nullptr, TRUE);
    if (now) ::UpdateWindow(window_);
}

KeyMastery Application::mastery(const CourseTargets& targets) {
    const UserTimings& now = timings();
    return masteryOf([&now](unsigned char c) -> const KeyTiming& { return now.key(c); }, targets);
}

FocusFigures Application::figures(unsigned char key, const CourseTargets& targets) {
    return figuresOf(timings().key(key), targets);
}

// Asked at a line's end and for every key that comes due, so the session's newest keystrokes
// are added first.
const UserTimings& Application::timings() {
    timings_.follow(drill_.keystrokes());
    return timings_;
}

void Application::loadTimings() {
    if (registry_.currentUser() != nullptr) timings_.load(registry_.userDirectory(), live_.options.russian != 0);
    else timings_.clear();
}

std::shared_ptr<const CourseText> Application::text() {
    return courseTexts_.get(platform::joinPath(dataRoot_.directory, textFileName(live_.options.russian != 0)),
                            live_.options.russian != 0);
}

WeaknessInput Application::weaknessEvidence() {
    return loadWeaknessEvidence(registry_.userDirectory(), live_.options.russian != 0);
}

std::optional<ScanText> Application::drillText() {
    if (!corpus_) return std::nullopt;
    return corpus_->readText(live_.options);
}

void Application::notify(const std::string& text) {
    effects_.showMessageBox(text, texts::textString("weakKeys.title"), MB_ICONINFORMATION | MB_OK);
}

void Application::tell(const std::string& text) {
    ::MessageBoxW(window_, platform::widen(text).c_str(),
                  platform::widen(courseText::courseString(courseText::kWindowTitle)).c_str(),
                  MB_ICONINFORMATION | MB_OK);
}

}  // namespace dactyla::app
