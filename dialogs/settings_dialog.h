#pragma once
// The settings dialog: frame 110 with its tab control and one page alive at a time (153
// "Общие", 154 "Текст"). What it decides lives in SettingsEditor; this only turns messages into
// the editor's calls and the editor's answers into control states.
#include <functional>

#include "editors/settings_editor.h"
#include "platform/win32/windows_headers.h"

namespace dactyla::dialogs {

struct SettingsRequest {
    LiveOptions& live;
    // The page shown last; the dialog opens on it.
    unsigned& settingsTab;
    SettingsHost& host;
    // Runs the sentence import dialog modally, owned by `page`. It reads the editor's working
    // copy, may set its maxCapitalRun, and calls editor.applyTextOptions() when it opens.
    // Called from a dialog procedure, so it must not throw. Empty: nothing runs.
    std::function<void(HWND page, SettingsEditor& editor)> runImport;
};

// Runs the dialog modally over `owner`.
void showSettingsDialog(HINSTANCE instance, HWND owner, SettingsRequest& request);

// Where the pages stand: the top-left corner of the tab control's display area, in the
// frame's client coordinates.
POINT pageOrigin(HWND frame, HWND tabs);

}  // namespace dactyla::dialogs
