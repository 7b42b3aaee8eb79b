#pragma once
// dactyla-text stats: a user's sessions from the results log and the per-key statistics.
#include <iosfwd>

#include "tools/dactyla_text/arguments.h"

namespace dactyla::text_tool {

// Prints the sessions and the per-key table, weakest keys first, or both as CSV.
int runStats(const Arguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace dactyla::text_tool
