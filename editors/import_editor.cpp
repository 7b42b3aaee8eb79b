#include "editors/import_editor.h"

#include <algorithm>
#include <utility>

#include "editors/settings_editor.h"
#include "texts/interface_texts.h"

namespace dactyla {
namespace {

using namespace importControl;


std::string decimal(std::uint32_t value) { return std::to_string(value); }

}  // namespace

std::uint8_t capitalRunFromField(const std::string& text) {
    return static_cast<std::uint8_t>(std::min<std::uint16_t>(lengthFromField(text), 255));
}

std::wstring importStartDirectory(const std::wstring& current, const std::wstring& program) {
    if (current != program) return current;
    const std::size_t cut = program.rfind(L'\\');
    const std::wstring parent = program.substr(0, cut == std::wstring::npos ? 0 : cut);
    return parent.size() < 3 ? program : parent;
}

ImportEditor::ImportEditor(LiveOptions& live, Options& working, ImportHost& host, ImportView& view,
                           std::string temporaryDirectory)
    : live_(live), working_(working), host_(host), view_(view), import_(std::move(temporaryDirectory)) {}

void ImportEditor::init() {
    view_.setText(kLanguage, texts::textString(working_.russian ? "import.russian" : "import.english"));
    view_.setText(kMinLength, decimal(working_.minLength));
    view_.setText(kMaxLength, decimal(working_.maxLength));
    view_.setText(kCapitalRun, decimal(working_.maxCapitalRun));
    host_.applyTextOptions();
    showTotal();
}

void ImportEditor::command(int id) {
    switch (id) {
    case kBrowse:
        browse();
        break;
    case kAdd:
        add();
        break;
    case kClose:
        close();
        break;
    default:
        break;
    }
}

// The open-file dialog's filter calls CP1251 "WIN-1251", so the dialog does too.
std::string encodingShown(TextEncoding encoding) {
    return texts::textString("import.encoding") + (encoding == TextEncoding::cp1251 ? "WIN-1251" : encodingName(encoding));
}

// Cancelling the file dialog keeps an earlier scan and what "Добавить !" showed.
void ImportEditor::browse() {
    clearDisplay();
    readCapitalRun();
    std::optional<ChosenFile> chosen = view_.chooseFile();
    if (!chosen) return;
    if (chosen->corpusText) {
        view_.showError(texts::textC("import.ownText"));
        return;
    }
    scan(std::move(*chosen));
}

// A file that cannot be read leaves an earlier scan as it was; temporary files that cannot
// be written take it away.
void ImportEditor::scan(ChosenFile chosen) {
    view_.showChosenPath();
    const ImportScan result = import_.scan(std::move(chosen.file), importRules(working_),
                                           [this](int percent) { view_.setProgress(percent); });
    if (result.status != ImportStatus::done) {
        clearDisplay();
        canAdd_ = canAdd_ && import_.found() > 0;
        view_.enableControl(kAdd, canAdd_);
        view_.showError(importMessage(result.status));
        settleOn(canAdd_ ? kAdd : kBrowse);
        return;
    }
    view_.setText(kFound, decimal(result.found));
    view_.setText(kEncoding, encodingShown(result.encoding));
    canAdd_ = result.found > 0;
    view_.enableControl(kAdd, canAdd_);
    // A disabled default button would leave Enter doing nothing.
    settleOn(canAdd_ ? kAdd : kBrowse);
}

// A failed append leaves the text, the index and the scan as they were, so it can be tried again.
void ImportEditor::add() {
    if (!canAdd_) return;
    SentenceCorpus* corpus = host_.corpus();
    const ImportAppend result =
        corpus != nullptr ? import_.append(*corpus) : ImportAppend {ImportStatus::writeFailed, 0};
    if (result.status != ImportStatus::done) {
        view_.showError(importMessage(result.status));
        settleOn(kAdd);
        return;
    }
    showTotal();
    clearDisplay();
    canAdd_ = false;
    view_.enableControl(kAdd, false);
    settleOn(kBrowse);
}

void ImportEditor::close() {
    import_.discard();
    view_.closeDialog();
}

void ImportEditor::clearDisplay() {
    view_.setProgress(0);
    view_.setText(kFound, "0");
    view_.setText(kEncoding, "");
    view_.clearPath();
}

// 0 would refuse every sentence, which starts with a capital. The live options take the
// raised limit too, and are then written back like any other change.
void ImportEditor::readCapitalRun() {
    const std::string typed = view_.text(kCapitalRun);
    working_.maxCapitalRun = capitalRunFromField(typed);
    if (working_.maxCapitalRun == 0) {
        working_.maxCapitalRun = 1;
        live_.options.maxCapitalRun = 1;
        live_.optionsDirty = true;
    }
    if (decimal(working_.maxCapitalRun) != typed) view_.setText(kCapitalRun, decimal(working_.maxCapitalRun));
}

// The sentences of the user's index, as the settings page counts them.
void ImportEditor::showTotal() {
    const SentenceCorpus* corpus = host_.corpus();
    view_.setText(kTotal, decimal(corpus != nullptr ? corpus->entryCount() : 0));
}

void ImportEditor::settleOn(int button) {
    view_.setDefaultButton(button);
    view_.focusControl(button);
}

}  // namespace dactyla
