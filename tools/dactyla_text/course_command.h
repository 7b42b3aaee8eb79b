#pragma once
// dactyla-text course: a user's course state, or the lesson lines the program would feed now.
#include <iosfwd>
#include <string>

#include "tools/dactyla_text/arguments.h"

namespace dactyla::text_tool {

// The unlocked keys, the focus and each unlocked key's mastery; with --lines only the lines.
// `programFolder` holds Course.txt; arguments.programDirectory the users and texts.
int runCourse(const Arguments& arguments, const std::string& programFolder, std::ostream& out, std::ostream& err);

}  // namespace dactyla::text_tool
