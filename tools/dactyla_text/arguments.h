#pragma once
// The command line of dactyla-text, parsed without touching any file.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dactyla::text_tool {

enum class Command { help, check, index, importSentences, addSentences, stats, drill, course };

struct Arguments {
    Command command = Command::help;
    std::string file;              // check, import, add: the text to scan
    std::string programDirectory;  // index, add, stats, drill
    std::string user;              // index, add, stats, drill: the name of the directory under Users
    bool russian = true;
    std::uint16_t minLength = 10;
    std::uint16_t maxLength = 120;
    std::optional<std::uint32_t> limit;         // check: how many sentences to list
    std::optional<std::uint8_t> maxCapitalRun;  // import, add: else 4, or the user's setting
    std::optional<std::string> out;             // import: the file for the sentences
    bool csv = false;                           // stats: CSV instead of the report
    std::optional<std::uint32_t> lines;         // drill, course: print only this many lines
};

struct ParsedArguments {
    std::optional<Arguments> arguments;
    std::string error;  // one line naming the problem when arguments is empty
};

// `words` are the arguments after the program name, in CP1251.
ParsedArguments parseArguments(const std::vector<std::string>& words);

}  // namespace dactyla::text_tool
