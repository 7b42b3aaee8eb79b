#include "app/course_window.h"

#include <algorithm>
#include <string>
#include <vector>

#include "course/course_texts.h"
#include "course/course_view.h"
#include "platform/cp1251.h"
#include "shell/buffered_paint.h"
#include "shell/dpi.h"
#include "shell/handles.h"
#include "shell/modal_window.h"

namespace dactyla::app {
namespace {

using courseText::courseString;

// Sizes in 96-DPI units, drawn at the screen's real pixels.
constexpr int kClientWidth = 760;
constexpr int kClientHeight = 330;
constexpr int kMargin = 16;
constexpr int kBoxesPerRow = 28;
constexpr int kLineHeight = 22;
constexpr COLORREF kInk = RGB(0x20, 0x20, 0x20);
constexpr COLORREF kPaper = RGB(0xFA, 0xFA, 0xF7);
constexpr COLORREF kFocusFrame = RGB(0x20, 0x40, 0xC0);

// Control ids inside the window.
constexpr int kSpeedEdit = 101;
constexpr int kErrorEdit = 102;
constexpr int kApplyButton = 103;
constexpr int kStartAgainButton = 104;
constexpr int kCloseButton = IDCANCEL;

COLORREF colourOf(const Rgb& c) { return RGB(c.red, c.green, c.blue); }

std::wstring wideText(std::string_view key) { return platform::widen(courseString(key)); }

// The stock dialog font is made for the system's DPI, the one this window is laid out for.
HFONT guiFont() { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }

class CourseWindow : public ModalWindow {
public:
    CourseWindow(HWND owner, const CourseWindowRequest& request, Dpi dpi)
        : ModalWindow(owner), request_(request), dpi_(dpi) {}

    // Every message of the window from WM_NCCREATE on.
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_CREATE: createControls(); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: onPaint(); return 0;
        case WM_LBUTTONDOWN: onClick(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))); return 0;
        case WM_COMMAND: onCommand(LOWORD(wParam)); return 0;
        case WM_CTLCOLORSTATIC: return onStaticColour(reinterpret_cast<HDC>(wParam));
        case WM_CLOSE: close(); return 0;
        case WM_DESTROY: closed_ = true; return 0;
        default: return ::DefWindowProcW(window_, message, wParam, lParam);
        }
    }

private:
    // The labels stand on the window's paper, not on the grey of a dialog.
    LRESULT onStaticColour(HDC dc) {
        ::SetBkColor(dc, kPaper);
        ::SetTextColor(dc, kInk);
        return reinterpret_cast<LRESULT>(paperBrush_.get());
    }

    int px(int units) const { return dpi_.scale(units); }
    RECT scaled(const RECT& units) const { return {px(units.left), px(units.top), px(units.right), px(units.bottom)}; }

    RECT boxUnits(std::size_t index) const {
        const int size = (kClientWidth - 2 * kMargin) / kBoxesPerRow;
        const int row = static_cast<int>(index) / kBoxesPerRow;
        const int column = static_cast<int>(index) % kBoxesPerRow;
        const int left = kMargin + column * size;
        const int top = kMargin + 2 * kLineHeight + row * size;
        return {left, top, left + size - 3, top + size - 3};
    }

    int boxesBottom() const {
        const std::size_t count = request_.course.order().characters().size();
        return boxUnits(count == 0 ? 0 : count - 1).bottom + kMargin;
    }

    RECT boxRect(std::size_t index) const { return scaled(boxUnits(index)); }

    HWND control(const wchar_t* className, const std::wstring& text, DWORD style, int id, RECT units) {
        const RECT r = scaled(units);
        const HWND child = ::CreateWindowExW(className == std::wstring(L"EDIT") ? WS_EX_CLIENTEDGE : 0, className,
                                             text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, r.left, r.top,
                                             r.right - r.left, r.bottom - r.top, window_,
                                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont()), TRUE);
        return child;
    }

    void createControls() {
        const int y = boxesBottom() + 2 * kLineHeight;
        const CourseTargets& targets = request_.course.state().targets;
        control(L"STATIC", wideText(courseText::kWindowSpeed), SS_RIGHT, -1, {kMargin, y + 3, kMargin + 120, y + 21});
        control(L"EDIT", platform::widen(speedField(targets)), ES_LEFT, kSpeedEdit, {kMargin + 126, y, kMargin + 186, y + 22});
        control(L"STATIC", wideText(courseText::kWindowErrors), SS_RIGHT, -1, {kMargin + 200, y + 3, kMargin + 330, y + 21});
        control(L"EDIT", platform::widen(errorField(targets)), ES_LEFT, kErrorEdit, {kMargin + 336, y, kMargin + 396, y + 22});
        control(L"BUTTON", wideText(courseText::kWindowApply), BS_PUSHBUTTON, kApplyButton, {kMargin + 410, y, kMargin + 510, y + 24});
        const int bottom = kClientHeight - kMargin - 26;
        control(L"BUTTON", wideText(courseText::kWindowStartAgain), BS_PUSHBUTTON, kStartAgainButton,
                {kMargin, bottom, kMargin + 140, bottom + 26});
        control(L"BUTTON", wideText(courseText::kWindowClose), BS_DEFPUSHBUTTON, kCloseButton,
                {kClientWidth - kMargin - 100, bottom, kClientWidth - kMargin, bottom + 26});
    }

    void onPaint() {
        paintBuffered(window_, [this](HDC dc, const RECT& client) { draw(dc, client); });
    }

    void text(HDC dc, const std::string& cp1251, RECT rect, UINT flags) const {
        const std::wstring wide = platform::widen(cp1251);
        ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, flags | DT_NOPREFIX);
    }

    void draw(HDC dc, const RECT& client) {
        const UniqueBrush paper(::CreateSolidBrush(kPaper));
        ::FillRect(dc, &client, paper.get());
        const SelectionGuard font(dc, guiFont());
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, kInk);
        const Course& course = request_.course;
        text(dc, courseString(courseText::kWindowKeys),
             scaled({kMargin, kMargin, kClientWidth - kMargin, kMargin + 2 * kLineHeight}), DT_WORDBREAK);
        const KeyMastery mastery = request_.host.mastery(course.state().targets);
        const auto boxes = courseKeyBoxes(course.state(), course.order(), mastery);
        for (std::size_t k = 0; k < boxes.size(); ++k) {
            const RECT r = boxRect(k);
            const UniqueBrush fill(::CreateSolidBrush(colourOf(boxes[k].colour)));
            ::FillRect(dc, &r, fill.get());
            if (boxes[k].focus) {
                const UniqueBrush frame(::CreateSolidBrush(kFocusFrame));
                RECT outer {r.left - px(2), r.top - px(2), r.right + px(2), r.bottom + px(2)};
                for (int line = 0; line < px(2); ++line) {
                    ::FrameRect(dc, &outer, frame.get());
                    ::InflateRect(&outer, -1, -1);
                }
            }
            ::SetTextColor(dc, boxes[k].unlocked ? kInk : RGB(0xA0, 0xA0, 0xA0));
            text(dc, boxes[k].label, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        ::SetTextColor(dc, kInk);
        const int y = boxesBottom();
        FocusFigures focus;
        if (course.state().progress.focus) focus = request_.host.figures(*course.state().progress.focus, course.state().targets);
        text(dc, learnedText(course.state(), course.order()), scaled({kMargin, y, kClientWidth - kMargin, y + kLineHeight}),
             DT_SINGLELINE);
        text(dc, focusText(course.state(), focus),
             scaled({kMargin, y + kLineHeight, kClientWidth - kMargin, y + 2 * kLineHeight}), DT_SINGLELINE);
    }

    void onClick(int x, int y) {
        Course& course = request_.course;
        const auto boxes = courseKeyBoxes(course.state(), course.order(), KeyMastery {});
        for (std::size_t k = 0; k < boxes.size(); ++k) {
            const RECT r = boxRect(k);
            if (x < r.left || x >= r.right || y < r.top || y >= r.bottom || boxes[k].unlocked) continue;
            const std::string name = boxes[k].key == ' ' ? courseText::keyName(' ') : boxes[k].label;
            std::string question = courseString(courseText::kWindowSkipQuestion);
            question.replace(question.find("%s"), 2, name);
            if (ask(question) && course.skipTo(boxes[k].key)) ::InvalidateRect(window_, nullptr, FALSE);
            return;
        }
    }

    bool ask(const std::string& question) {
        return ::MessageBoxW(window_, platform::widen(question).c_str(), wideText(courseText::kWindowTitle).c_str(),
                             MB_YESNO | MB_ICONQUESTION) == IDYES;
    }

    std::string fieldText(int id) const {
        wchar_t buffer[32] {};
        ::GetDlgItemTextW(window_, id, buffer, 32);
        const std::wstring wide(buffer);
        return platform::utf16ToCp1251(std::u16string(wide.begin(), wide.end()));
    }

    void onCommand(unsigned id) {
        Course& course = request_.course;
        switch (id) {
        case kApplyButton: {
            const auto targets = parseTargetFields(fieldText(kSpeedEdit), fieldText(kErrorEdit), course.state().targets);
            if (!targets) {
                ::MessageBoxW(window_, wideText(courseText::kWindowBadTargets).c_str(),
                              wideText(courseText::kWindowTitle).c_str(), MB_ICONERROR | MB_OK);
                return;
            }
            course.setTargets(*targets);
            ::InvalidateRect(window_, nullptr, FALSE);
            return;
        }
        case kStartAgainButton:
            if (ask(courseString(courseText::kWindowStartAgainQuestion))) {
                course.startAgain();
                ::InvalidateRect(window_, nullptr, FALSE);
            }
            return;
        case kCloseButton: close(); return;
        default: return;
        }
    }

    CourseWindowRequest request_;
    Dpi dpi_;
    UniqueBrush paperBrush_ {::CreateSolidBrush(kPaper)};
};

}  // namespace

void showCourseWindow(HINSTANCE instance, HWND owner, const CourseWindowRequest& request) {
    const Dpi dpi = systemDpi();
    CourseWindow course(owner, request, dpi);
    runModal(instance, owner, course,
             {.className = kCourseWindowClass,
              .title = wideText(courseText::kWindowTitle),
              .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
              .exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
              .client = {dpi.scale(kClientWidth), dpi.scale(kClientHeight)},
              .dialogKeys = true});
}

}  // namespace dactyla::app
