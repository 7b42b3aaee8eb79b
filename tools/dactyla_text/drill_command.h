#pragma once
// dactyla-text drill: what the weak-keys drill would aim at for a user, and its lines.
#include <iosfwd>

#include "tools/dactyla_text/arguments.h"

namespace dactyla::text_tool {

// Prints the weak keys, confusions and slow pairs with their weights, or with --lines N only
// the first N lines a weak-keys session started now would get.
int runDrill(const Arguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace dactyla::text_tool
