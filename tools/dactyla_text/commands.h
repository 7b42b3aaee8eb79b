#pragma once
// dactyla-text: what the program will make of a sentence text and of a user's index.
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "tools/dactyla_text/arguments.h"

namespace dactyla::text_tool {

inline constexpr int kSuccess = 0;
inline constexpr int kBadInput = 1;
inline constexpr int kUsage = 2;

extern const char* const kHelp;

// Says "dactyla-text: <message>" on `err` and gives kBadInput.
int badInput(std::ostream& err, const std::string& message);
// The folder of the user the arguments name, checked as every command that reads a user checks
// it: the program folder there, the name a plain one, the folder present. Empty after saying why.
std::optional<std::string> userDirectoryOf(const Arguments& arguments, std::ostream& err);

// Lists the sentences the program indexes from a CP1251 text.
int runCheck(const Arguments& arguments, std::ostream& out, std::ostream& err);
// Validates or rebuilds a user's index the way the program does and shows it.
int runIndex(const Arguments& arguments, std::ostream& out, std::ostream& err);
// Writes the sentences an import would add from a file, each followed by CR LF.
int runImport(const Arguments& arguments, std::ostream& out, std::ostream& err, const std::string& temporaryDirectory);
// Adds a file's sentences to the program's text and the user's index as the import dialog does.
int runAdd(const Arguments& arguments, std::ostream& out, std::ostream& err, const std::string& temporaryDirectory);
// Parses `words` (CP1251, without the program name) and runs the command; returns the exit code.
// The import's work files go to `temporaryDirectory`.
int runTool(const std::vector<std::string>& words, std::ostream& out, std::ostream& err,
            const std::string& temporaryDirectory);

}  // namespace dactyla::text_tool
