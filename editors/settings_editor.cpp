#include "editors/settings_editor.h"

#include "base/decimal.h"

#include <algorithm>
#include <limits>

namespace dactyla {
namespace {

using namespace settingsControl;

// Digits only; anything else, or nothing, reads as 0. Large values stop at `ceiling`.
std::uint32_t readUnsigned(const std::string& text, std::uint32_t ceiling) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), isDigit)) return 0;
    return parseDecimal(text, ceiling).value_or(ceiling);
}

std::string decimal(std::uint32_t value) { return std::to_string(value); }

void flip(std::uint8_t& flag) { flag = flag ? 0 : 1; }

}  // namespace

std::uint16_t timerFromFields(const std::string& minutes, const std::string& seconds) {
    // A ceiling above the cap keeps the sum from wrapping whatever the fields hold.
    const std::uint32_t total = readUnsigned(minutes, kLongestTimer) * 60 + readUnsigned(seconds, kLongestTimer);
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(total, kLongestTimer));
}

std::uint16_t lengthFromField(const std::string& text) {
    return static_cast<std::uint16_t>(readUnsigned(text, std::numeric_limits<std::uint16_t>::max()));
}

bool applyTextOptions(SettingsHost& host, LiveOptions& live, Options& working) {
    if (working.russian != live.options.russian) {
        host.sendLanguageSwitch();
        // Copied over the live options later, a language the corpus did not follow would
        // leave the corpus of one language open under the options of the other.
        working.russian = live.options.russian;
    }
    if (working.maxLength == live.options.maxLength && working.minLength == live.options.minLength) return true;

    live.optionsDirty = true;
    clampLengths(working);
    const std::uint16_t oldMin = live.options.minLength;
    const std::uint16_t oldMax = live.options.maxLength;
    live.options.maxLength = working.maxLength;
    live.options.minLength = working.minLength;
    if (host.reindex(live.options)) return true;

    // The index on disk is for no window now. Back to the previous one, and the index rebuilt
    // for it if the disk takes it; if not, the next opening finds the header disagreeing and
    // rebuilds.
    live.options.minLength = working.minLength = oldMin;
    live.options.maxLength = working.maxLength = oldMax;
    host.reindex(live.options);
    return false;
}

SettingsEditor::SettingsEditor(LiveOptions& live, unsigned& settingsTab, SettingsHost& host, SettingsView& view)
    : live_(live), settingsTab_(settingsTab), host_(host), view_(view), working_(live.options) {}

void SettingsEditor::initPage() {
    const bool applyWasEnabled = view_.applyEnabled();
    if (settingsTab_ == kGeneralPage) fillGeneralPage();
    else if (settingsTab_ == kTextPage) fillTextPage();
    if (!applyWasEnabled) {
        view_.enableApply(false);
        view_.setDefaultButton(kCancel);
    }
}

void SettingsEditor::fillGeneralPage() {
    view_.checkRadio(kPictureDesktop, kPictureGrass, kPictureDesktop + working_.picture);
    view_.limitText(kTimerMinutes, kTimerDigits);
    view_.limitText(kTimerSeconds, kTimerDigits);
    view_.setText(kTimerMinutes, decimal(working_.timerSeconds / 60u));
    view_.setText(kTimerSeconds, decimal(working_.timerSeconds % 60u));
    if (working_.allowCapitals) view_.checkButton(kAllowCapitals, true);
    if (working_.uniformLetters) view_.checkButton(kUniformLetters, true);
    if (working_.alphabetMode) {
        view_.checkButton(kAlphabet, true);
    } else {
        view_.enableControl(kAllowCapitals, false);
        view_.enableControl(kUniformLetters, false);
    }
    if (working_.timerEnabled) {
        view_.checkButton(kTimerEnabled, true);
    } else {
        view_.setReadOnly(kTimerMinutes, true);
        view_.setReadOnly(kTimerSeconds, true);
    }
    if (working_.backgroundSound) view_.checkButton(kBackgroundSound, true);
}

void SettingsEditor::fillTextPage() {
    view_.limitText(kMinLength, kLengthDigits);
    view_.limitText(kMaxLength, kLengthDigits);
    view_.setText(kMinLength, decimal(working_.minLength));
    view_.setText(kMaxLength, decimal(working_.maxLength));
    showCorpusFigures();
    view_.checkRadio(kEnglish, kRussian, kEnglish + working_.russian);
}

void SettingsEditor::showCorpusFigures() {
    const CorpusFigures figures = host_.corpusFigures();
    view_.setText(kSentenceCount, decimal(figures.sentences));
    view_.setText(kPosition, decimal(figures.position));
}

void SettingsEditor::readPageBack() {
    if (settingsTab_ == kGeneralPage) {
        const auto minutes = view_.editText(kTimerMinutes);
        const auto seconds = view_.editText(kTimerSeconds);
        // Without its page, the field keeps its value rather than turning into 0.
        if (minutes && seconds) working_.timerSeconds = timerFromFields(*minutes, *seconds);
    } else if (settingsTab_ == kTextPage) {
        const auto minLength = view_.editText(kMinLength);
        const auto maxLength = view_.editText(kMaxLength);
        if (minLength && maxLength) {
            working_.minLength = lengthFromField(*minLength);
            working_.maxLength = lengthFromField(*maxLength);
            clampLengths(working_);
        }
    }
}

void SettingsEditor::pageCommand(int id, PageEvent event) {
    const bool edit = id == kTimerMinutes || id == kTimerSeconds || id == kMinLength || id == kMaxLength;
    if (edit != (event == PageEvent::editChanged)) return;
    const bool button = !edit && ((id >= kPictureDesktop && id <= kPictureGrass) || id == kBackgroundSound ||
                                  id == kTimerEnabled || id == kAllowCapitals || id == kUniformLetters ||
                                  id == kAlphabet || id == kEnglish || id == kRussian);
    if (edit || button) {
        view_.enableApply(true);
        view_.setDefaultButton(kApply);
    }
    switch (id) {
    case kBackgroundSound:
        flip(working_.backgroundSound);
        break;
    case kTimerEnabled:
        view_.setReadOnly(kTimerMinutes, working_.timerEnabled != 0);
        view_.setReadOnly(kTimerSeconds, working_.timerEnabled != 0);
        flip(working_.timerEnabled);
        break;
    case kAllowCapitals:
        flip(working_.allowCapitals);
        break;
    case kUniformLetters:
        flip(working_.uniformLetters);
        break;
    case kAlphabet:
        if (host_.isSessionRunning()) {
            view_.checkButton(kAlphabet, live_.options.alphabetMode != 0);
            break;
        }
        flip(working_.alphabetMode);
        view_.enableControl(kAllowCapitals, working_.alphabetMode != 0);
        view_.enableControl(kUniformLetters, working_.alphabetMode != 0);
        break;
    case kEnglish:
    case kRussian:
        if (host_.isSessionRunning()) lockLanguage();
        else changeLanguage();
        break;
    case kPictureDesktop:
    case kPictureMountains:
    case kPictureGrass:
        working_.picture = static_cast<std::uint8_t>(id - kPictureDesktop);
        break;
    case kImport:
        importSentences();
        break;
    default:
        break;
    }
}

void SettingsEditor::changeLanguage() { working_.russian = view_.isChecked(kEnglish) ? 0 : 1; }

// The corpus of the other language cannot be opened under a running session.
void SettingsEditor::lockLanguage() {
    const std::uint8_t shown = view_.isChecked(kEnglish) ? 0 : 1;
    if (shown == live_.options.russian) return;
    view_.showLanguageLocked();
    const int liveRadio = kEnglish + live_.options.russian;
    view_.checkRadio(kEnglish, kRussian, liveRadio);
    readPageBack();
    if (working_ == live_.options) settleOnCancel();
    else view_.focusControl(liveRadio);
}

void SettingsEditor::importSentences() {
    view_.setText(kSentenceCount, "???");
    readPageBack();
    view_.runImportDialog();
    showCorpusFigures();
    view_.setDefaultButton(kOk);
    view_.focusControl(kOk);
}

void SettingsEditor::frameCommand(int id) {
    switch (id) {
    case kOk:
        applyOrOk(true);
        break;
    case kApply:
        applyOrOk(false);
        break;
    case kCancel:
        // What an earlier Apply copied stays.
        view_.closeDialog();
        break;
    default:
        break;
    }
}

void SettingsEditor::applyOrOk(bool ok) {
    readPageBack();
    if (working_ != live_.options) {
        live_.optionsDirty = true;
        if (working_.picture != live_.options.picture) {
            live_.options.picture = working_.picture;
            host_.invalidateMainWindow(!ok);
        }
        applyTextOptions();
        if (!ok && settingsTab_ == kTextPage) showCorpusFigures();
        live_.options = working_;
        host_.checkAlphabetItem();
    }
    if (ok) view_.closeDialog();
    else settleOnCancel();
}

void SettingsEditor::settleOnCancel() {
    view_.enableApply(false);
    view_.setDefaultButton(kCancel);
    view_.focusControl(kCancel);
}

bool SettingsEditor::applyTextOptions() { return dactyla::applyTextOptions(host_, live_, working_); }

}  // namespace dactyla
