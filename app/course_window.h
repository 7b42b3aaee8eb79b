#pragma once
// The course window ("Курс..." in "Опции"): the keys of the order as boxes coloured by mastery,
// the focus key's figures against the targets, the targets to edit, a click on a locked key to
// skip ahead, and starting again. A modal window owned by the main window; Esc or the close box
// closes it.
#include "course/course.h"
#include "platform/win32/windows_headers.h"

namespace dactyla::app {

inline constexpr wchar_t kCourseWindowClass[] = L"DactylaCourse";

struct CourseWindowRequest {
    Course& course;
    CourseHost& host;  // the figures shown
};

// Returns when the window is closed; the owner is disabled meanwhile.
void showCourseWindow(HINSTANCE instance, HWND owner, const CourseWindowRequest& request);

}  // namespace dactyla::app
