// The on-screen keyboard's redraw per keystroke, as the program does it after the strip: the
// guide's decision, then the keys drawn through a device context of the real window. Prints
// figures; asserts nothing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/keyboard_window.h"
#include "guide/timing_knowledge.h"
#include "platform/cp1251.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace dactyla;

double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

// Types `text` over and over, every fifth keystroke wrong, and times each redraw.
std::vector<double> timeRedraws(app::KeyboardWindow& keyboard, bool russian, const std::string& text) {
    const TimingKnowledge knowledge(nullptr);
    KeyboardGuide guide(knowledge);
    guide.setMode(KeyboardMode::always);
    guide.setLayout(russian);
    TypingMoment moment {true, 0, 0, 0, 0};
    constexpr std::size_t kKeystrokes = 2000;
    std::vector<double> micros;
    std::size_t at = 0;
    for (std::size_t k = 1; k <= kKeystrokes; ++k) {
        moment.expected = static_cast<unsigned char>(text[at % text.size()]);
        if (k % 5 == 0) {
            ++moment.errorCount;
            moment.typed = '1';
        } else {
            ++moment.correctCount;
            ++at;
        }
        const auto begin = Clock::now();
        guide.follow(moment, static_cast<std::uint32_t>(k * 150));
        keyboard.update(russian, guide.picture());
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - begin).count());
    }
    return micros;
}

LRESULT CALLBACK ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int main() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW ownerClass {};
    ownerClass.lpfnWndProc = ownerProcedure;
    ownerClass.hInstance = instance;
    ownerClass.lpszClassName = L"DactylaBenchOwner";
    ::RegisterClassW(&ownerClass);
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    // Where the program puts its main window.
    const HWND owner = ::CreateWindowExW(0, ownerClass.lpszClassName, L"owner", WS_POPUP | WS_VISIBLE, screenWidth / 32,
                                         screenHeight / 4, screenWidth * 15 / 16, screenHeight / 2, nullptr, nullptr,
                                         instance, nullptr);
    app::KeyboardWindow keyboard;
    if (owner == nullptr || !keyboard.create(instance, owner, {})) {
        std::printf("BENCHMARK keyboard redraw per keystroke: no window could be made\n");
        return 1;
    }
    keyboard.show(true);
    const std::string english = "The quick brown fox jumps over the lazy dog; Sphinx of black quartz, judge my vow. ";
    const std::string russian = platform::utf8ToCp1251("Съешь же ещё этих мягких французских булок, да выпей же чаю. ");
    for (const bool inRussian : {true, false}) {
        const std::vector<double> micros = timeRedraws(keyboard, inRussian, inRussian ? russian : english);
        std::printf("BENCHMARK keyboard redraw per keystroke (%s, %d px keys, %dx%d screen): median %.0f us, 90th "
                    "percentile %.0f us, worst %.0f us over %zu keystrokes\n",
                    inRussian ? "Russian" : "English", keyboard.painter().keyPixels(), screenWidth, screenHeight,
                    percentile(micros, 0.5), percentile(micros, 0.9), percentile(micros, 1.0), micros.size());
    }
    keyboard.destroy();
    ::DestroyWindow(owner);
    return 0;
}
