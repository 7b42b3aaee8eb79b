#pragma once
// Dactyla.exe as the end-to-end tests see it: a fresh program directory, the running program,
// its main window and the boxes and dialogs it opens.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dactyla::e2e {

inline constexpr const wchar_t* kMainClass = L"-= KeyloomTutor by QUILL =-";

// A temporary copy of the program with its texts and sounds; removed at the end.
class ProgramDirectory {
public:
    // `withShippedTexts` false leaves TextData.* out, so a test can write its own.
    explicit ProgramDirectory(bool withShippedTexts = true);
    ~ProgramDirectory();
    ProgramDirectory(const ProgramDirectory&) = delete;
    ProgramDirectory& operator=(const ProgramDirectory&) = delete;

    const std::string& path() const { return path_; }  // Linux path
    std::string file(const std::string& relative) const { return path_ + "/" + relative; }
    std::string userDirectory(const std::string& name) const { return path_ + "/Users/" + name; }

    // Creates Users/<name>, optionally with an Options.dat of the given 16 bytes.
    void addUser(const std::string& name, const std::string& optionsBytes = {});
    // TextData.Eng or TextData.Rus: sentences (UTF-8 here) stored as CP1251 lines with CR LF.
    void writeText(bool russian, const std::vector<std::string>& sentencesUtf8);

private:
    std::string path_;
};

// Options.dat: totals, length window, timer seconds and the option flags.
struct StoredOptions {
    std::uint32_t totalCharacters = 0;
    std::uint32_t totalSeconds = 0;
    std::uint16_t minLength = 10;
    std::uint16_t maxLength = 120;
    std::uint16_t timerSeconds = 300;
    bool russian = true;
    bool alphabetMode = false;
    bool uniformLetters = true;
    bool allowCapitals = false;
    bool timerEnabled = true;
    bool backgroundSound = true;
    std::uint8_t maxCapitalRun = 4;
    std::uint8_t picture = 1;
};
std::string storedOptionsBytes(const StoredOptions& options);
StoredOptions parseStoredOptions(const std::string& bytes);
// The defaults in one language, without the background tune.
StoredOptions quietOptions(bool russian);
// Keyboard.dat of `user`: the on-screen keyboard always shown, as the user chose.
void showKeyboardAlways(const ProgramDirectory& directory, const std::string& user);

enum class Copies {
    onlyThis,        // wait until no other copy's window is left before starting
    besideAnother,   // start while another copy runs
};

class RunningProgram {
public:
    // Starts Dactyla.exe from `directory`. An empty `locale` keeps the driver's LANG; otherwise
    // the program starts with LANG=<locale>, which sets Wine's ANSI code page.
    explicit RunningProgram(const ProgramDirectory& directory, const std::string& locale = {},
                            Copies copies = Copies::onlyThis);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // Waits for the main window; false when it did not appear (or the program ended).
    bool waitForMainWindow(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    HWND window() const { return window_; }
    DWORD processId() const { return processId_; }
    bool running() const;
    bool waitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // The exit code once the program has ended.
    std::optional<DWORD> exitCode() const;

    // Synchronous, like a key the window has fully handled.
    void typeCharacter(wchar_t character) const;
    void typeText(const std::wstring& text) const;
    // Posted: for keys that open a modal box (Esc ending a session), which would block a sent one.
    void postCharacter(wchar_t character) const;
    void pressKey(UINT virtualKey) const;
    // Posted: a command that opens a modal box must not block the driver.
    void postCommand(unsigned command) const;
    // Waits until the program has handled everything sent so far.
    bool settle(std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

    // The first visible top-level window of the program with this class ("#32770" for boxes
    // and dialogs), optionally with this title.
    HWND waitForWindow(const wchar_t* className, const std::wstring& title = {},
                       std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    bool noWindowOfClass(const wchar_t* className) const;
    // Like waitForWindow, for a program started with another locale before its main window is
    // shown: the first such window of any process is taken, and its process becomes the program.
    HWND adoptWindow(const wchar_t* className, const std::wstring& title,
                     std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // Presses a button of a box or dialog of the program and waits until the program has
    // finished what the answer asks for.
    bool answer(HWND dialog, int buttonId) const;

private:
    void start(const ProgramDirectory& directory, const std::string& locale, Copies copies);
    void sendOrFail(UINT message, WPARAM wParam, LPARAM lParam) const;

    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
};

// Every visible top-level window of process `processId` with this class.
std::vector<HWND> windowsOf(DWORD processId, const wchar_t* className);
std::wstring windowText(HWND window);
// The text of a message box (its static control 0xFFFF).
std::wstring messageBoxText(HWND box);
// Presses a dialog button by its id (IDYES, IDNO, IDOK, ...), never by its caption.
void pressButton(HWND dialog, int buttonId);

// UTF-8 text as CP1251 bytes, and back.
std::string toCp1251(const std::string& utf8);
std::string fromCp1251(const std::string& cp1251);

}  // namespace dactyla::e2e
