#include "driver/typing.h"

#include "driver/expect.h"
#include "driver/host.h"

namespace dactyla::e2e {

std::wstring englishCharacters() {
    std::wstring characters;
    for (wchar_t c = 0x20; c < 0x7F; ++c) characters += c;
    return characters;
}

std::wstring russianCharacters() {
    std::wstring characters = L" 0123456789.,!?-\":;()'";
    for (wchar_t c = 0x0410; c <= 0x044F; ++c) characters += c;
    return characters + L"\u0401\u0451";
}

std::wstring pauseCharacters() { return wide(" НАШИПЛЬЧКУСТ?"); }
std::wstring pauseTextTyped() { return wide("    НАШИ ПАЛЬЧИ"); }
std::wstring pauseTextToType() { return wide("КИ УСТАЛИ ?    "); }

namespace {

// Real keys reach the program through X and Wine after xdotool has returned, so the strip is read
// again only once it has moved on and holds still: a key still on its way would be typed twice.
void waitForStripToHoldStill(const StripReader& reader, const std::wstring& candidates, const std::wstring& before) {
    std::wstring last = before;
    waitUntil(
        [&] {
            const std::wstring now = reader.readToType(candidates);
            const bool still = now == last && now != before;
            last = now;
            return still;
        },
        std::chrono::seconds(3), std::chrono::milliseconds(100));
}

}  // namespace

std::wstring typeShownText(const RunningProgram& program, const StripReader& reader, const std::wstring& candidates,
                           std::size_t count, Keyboard keyboard) {
    std::wstring typed;
    while (typed.size() < count) {
        // A box that covered the strip may just have closed: the repaint follows shortly.
        std::wstring shown;
        const bool readable = waitUntil(
            [&] {
                shown = reader.readToType(candidates);
                return shown.find(L'\uFFFD') == std::wstring::npos;
            },
            std::chrono::seconds(2), std::chrono::milliseconds(50));
        if (!readable) break;
        const std::wstring before = shown;
        shown.resize(std::min(shown.size(), count - typed.size()));
        if (keyboard == Keyboard::messages) {
            program.typeText(shown);
        } else {
            if (!xdotoolType(shown)) break;
            program.settle();
            waitForStripToHoldStill(reader, candidates, before);
        }
        typed += shown;
    }
    return typed;
}

std::string xdotoolTypeCommand(const std::wstring& text, unsigned delayMs) {
    std::string quoted;
    for (char c : narrowUtf8(text)) {
        if (c == '\'') quoted += "'\\''";
        else quoted += c;
    }
    return "xdotool type --delay " + std::to_string(delayMs) + " -- '" + quoted + "'";
}

bool xdotoolType(const std::wstring& text) { return runLinux(xdotoolTypeCommand(text, 15)); }

bool xdotoolKey(const std::string& keyName) { return runLinux("xdotool key " + keyName); }

SummaryBox waitForSummary(const RunningProgram& program, std::chrono::milliseconds timeout) {
    SummaryBox summary;
    summary.box = program.waitForWindow(kDialogClass, L"A Question Of Time", timeout);
    if (summary.box != nullptr) summary.text = messageBoxText(summary.box);
    return summary;
}

bool endSessionWithYes(const RunningProgram& program) {
    program.postCharacter(27);
    const SummaryBox summary = waitForSummary(program);
    return summary.box != nullptr && program.answer(summary.box, IDYES);
}

std::wstring summaryCharactersLine(unsigned correct, unsigned keystrokes) {
    return wide("\u2022 символов  -  ") + std::to_wstring(correct) + L"  (" + std::to_wstring(keystrokes) + L")";
}

std::wstring summaryErrorsLine(const std::wstring& percent, unsigned errors) {
    return wide("\u2022 ошибок  -  ") + percent + L"%  (" + std::to_wstring(errors) + L")";
}

}  // namespace dactyla::e2e
