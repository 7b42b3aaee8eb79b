#pragma once
// The sentence import dialog (185), opened from the settings page "Текст". What it decides
// lives in ImportEditor; this only turns messages into the editor's calls and its answers into
// control states, the open-file dialog and message boxes.
#include <functional>
#include <string>

#include "corpus/sentence_corpus.h"
#include "editors/settings_editor.h"
#include "platform/win32/windows_headers.h"

namespace dactyla::dialogs {

struct ImportRequest {
    LiveOptions& live;
    // The settings dialog's editor: its working copy and applyTextOptions.
    SettingsEditor& editor;
    // Asked after the dialog has carried out a pending language change, so both follow the
    // live language: the open corpus (null when none), and the path of its text file, CP1251,
    // which the import refuses to take sentences from. Must not throw.
    std::function<SentenceCorpus*()> corpus;
    std::function<std::string()> corpusTextPath;
};

// Runs the dialog modally over `owner`, the settings page.
void showImportDialog(HINSTANCE instance, HWND owner, ImportRequest& request);

}  // namespace dactyla::dialogs
