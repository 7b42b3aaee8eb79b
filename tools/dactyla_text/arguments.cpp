#include "tools/dactyla_text/arguments.h"

#include <algorithm>
#include <charconv>

namespace dactyla::text_tool {
namespace {

// The window the program itself keeps lengths in.
constexpr std::uint32_t kShortestWindow = 10;
constexpr std::uint32_t kLongestWindow = 120;
constexpr std::uint32_t kLongestCapitalRun = 255;

std::optional<std::uint32_t> parseNumber(const std::string& text) {
    std::uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

class Parser {
public:
    explicit Parser(const std::vector<std::string>& words) : words_(words) {}

    ParsedArguments parse() {
        for (const std::string& word : words_)
            if (word == "--help" || word == "-h") return {Arguments {}, {}};
        if (words_.empty()) return {Arguments {}, {}};
        const std::string& command = words_[0];
        if (command == "check") arguments_.command = Command::check;
        else if (command == "index") arguments_.command = Command::index;
        else if (command == "import") arguments_.command = Command::importSentences;
        else if (command == "add") arguments_.command = Command::addSentences;
        else if (command == "stats") arguments_.command = Command::stats;
        else if (command == "drill") arguments_.command = Command::drill;
        else if (command == "course") arguments_.command = Command::course;
        else return fail("unknown command '" + command + "'");

        std::vector<std::string> positional;
        bool languageGiven = false;
        for (std::size_t k = 1; k < words_.size(); ++k) {
            const std::string& word = words_[k];
            if (word.size() < 2 || word.compare(0, 2, "--") != 0) {
                positional.push_back(word);
                continue;
            }
            if (word == "--csv") {
                if (arguments_.command != Command::stats) return fail("--csv is for stats only");
                arguments_.csv = true;
                continue;
            }
            if (k + 1 >= words_.size()) return fail(word + " needs a value");
            const std::string& value = words_[++k];
            if (!takeOption(word, value)) return {std::nullopt, error_};
            languageGiven = languageGiven || word == "--lang";
        }
        return finish(positional, languageGiven);
    }

private:
    ParsedArguments fail(const std::string& message) {
        error_ = message;
        return {std::nullopt, error_};
    }

    // The options each command takes besides --lang.
    static std::vector<std::string> optionsOf(Command command) {
        switch (command) {
        case Command::check: return {"--min", "--max", "--limit"};
        case Command::importSentences: return {"--min", "--max", "--caps", "--out"};
        case Command::addSentences: return {"--caps"};
        case Command::drill: return {"--lines"};
        case Command::course: return {"--lines"};
        case Command::index:
        case Command::stats:
        case Command::help: break;
        }
        return {};
    }

    static const char* commandName(Command command) {
        switch (command) {
        case Command::index: return "index";
        case Command::importSentences: return "import";
        case Command::addSentences: return "add";
        case Command::stats: return "stats";
        case Command::drill: return "drill";
        case Command::course: return "course";
        case Command::check:
        case Command::help: break;
        }
        return "check";
    }

    bool takeOption(const std::string& name, const std::string& value) {
        if (name == "--lang") {
            if (value != "ru" && value != "en") return failed("--lang must be ru or en, not '" + value + "'");
            arguments_.russian = value == "ru";
            return true;
        }
        const auto allowed = optionsOf(arguments_.command);
        if (std::find(allowed.begin(), allowed.end(), name) == allowed.end()) {
            const bool check = arguments_.command == Command::check;
            const std::string command = check ? "" : std::string(" for ") + commandName(arguments_.command);
            return failed("unknown option " + name + command);
        }
        if (name == "--out") {
            arguments_.out = value;
            return true;
        }
        const auto number = parseNumber(value);
        if (!number) return failed(name + " must be a number, not '" + value + "'");
        if (name == "--limit") {
            arguments_.limit = *number;
            return true;
        }
        if (name == "--lines") {
            arguments_.lines = *number;
            return true;
        }
        if (name == "--caps") {
            if (*number < 1 || *number > kLongestCapitalRun) return failed("--caps must lie between 1 and 255");
            arguments_.maxCapitalRun = static_cast<std::uint8_t>(*number);
            return true;
        }
        if (*number < kShortestWindow || *number > kLongestWindow)
            return failed(name + " must lie between 10 and 120, as the program keeps it");
        (name == "--min" ? arguments_.minLength : arguments_.maxLength) = static_cast<std::uint16_t>(*number);
        return true;
    }

    bool failed(const std::string& message) {
        error_ = message;
        return false;
    }

    ParsedArguments finish(const std::vector<std::string>& positional, bool languageGiven) {
        const Command command = arguments_.command;
        if (command == Command::check || command == Command::importSentences) {
            const char* name = commandName(command);
            if (positional.size() != 1) return fail(std::string(name) + " takes one FILE");
            if (command == Command::importSentences && !languageGiven)
                return fail("import needs --lang ru or --lang en");
            if (arguments_.minLength > arguments_.maxLength) return fail("--min is above --max");
            arguments_.file = positional[0];
            return {arguments_, {}};
        }
        const bool adding = command == Command::addSentences;
        if (positional.size() != (adding ? 3u : 2u))
            return fail(adding ? std::string("add takes PROGRAM_DIR, USER and FILE")
                               : std::string(commandName(command)) + " takes PROGRAM_DIR and USER");
        if (!languageGiven) return fail(std::string(commandName(command)) + " needs --lang ru or --lang en");
        if (positional[1].empty()) return fail("the user name is empty");
        arguments_.programDirectory = positional[0];
        arguments_.user = positional[1];
        if (adding) arguments_.file = positional[2];
        return {arguments_, {}};
    }

    const std::vector<std::string>& words_;
    Arguments arguments_;
    std::string error_;
};

}  // namespace

ParsedArguments parseArguments(const std::vector<std::string>& words) { return Parser(words).parse(); }

}  // namespace dactyla::text_tool
