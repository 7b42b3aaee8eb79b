#pragma once
// Typing into the running program the way a person does: read what the strip shows, type it.
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "driver/program.h"
#include "driver/screen.h"

namespace dactyla::e2e {

// What can appear in the strip: every character of the given texts.
std::wstring englishCharacters();
std::wstring russianCharacters();  // Cyrillic, digits, punctuation and space; no Latin letters
std::wstring pauseCharacters();    // what the pause text is made of

// "    НАШИ ПАЛЬЧИКИ УСТАЛИ ?    ", split into the strip's halves.
std::wstring pauseTextTyped();
std::wstring pauseTextToType();

enum class Keyboard {
    messages,  // WM_CHAR sent to the window
    xdotool,   // real key presses on the X keyboard (us,ru layouts)
};

// Reads the strip and types what it shows until `count` characters are typed; returns them.
// Stops early (returning fewer) when the strip shows something it cannot read.
std::wstring typeShownText(const RunningProgram& program, const StripReader& reader, const std::wstring& candidates,
                           std::size_t count, Keyboard keyboard = Keyboard::messages);

// Real key presses through xdotool; the program's window must have the keyboard focus.
bool xdotoolType(const std::wstring& text);
// The shell command that types `text` with xdotool, `delayMs` between keys, for scripts that
// also wait between them.
std::string xdotoolTypeCommand(const std::wstring& text, unsigned delayMs);
bool xdotoolKey(const std::string& keyName);

// The session summary box, once it is open.
struct SummaryBox {
    HWND box = nullptr;
    std::wstring text;
};
SummaryBox waitForSummary(const RunningProgram& program,
                          std::chrono::milliseconds timeout = std::chrono::seconds(10));
// Esc, then "Да" in the summary box: the session ends and is counted. False when no box came.
bool endSessionWithYes(const RunningProgram& program);
// "• символов  -  <correct>  (<keystrokes>)" as the summary prints it.
std::wstring summaryCharactersLine(unsigned correct, unsigned keystrokes);
// "• ошибок  -  <percent>%  (<errors>)".
std::wstring summaryErrorsLine(const std::wstring& percent, unsigned errors);

}  // namespace dactyla::e2e
