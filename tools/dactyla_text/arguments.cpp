#include "tools/dactyla_text/arguments.h"

#include <charconv>

namespace dactyla::text_tool {
namespace {

// The window the program itself keeps lengths in.
constexpr std::uint32_t kShortestWindow = 10;
constexpr std::uint32_t kLongestWindow = 120;

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
        else return fail("unknown command '" + command + "'");

        std::vector<std::string> positional;
        bool languageGiven = false;
        for (std::size_t k = 1; k < words_.size(); ++k) {
            const std::string& word = words_[k];
            if (word.size() < 2 || word.compare(0, 2, "--") != 0) {
                positional.push_back(word);
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

    bool takeOption(const std::string& name, const std::string& value) {
        const bool checking = arguments_.command == Command::check;
        if (name == "--lang") {
            if (value != "ru" && value != "en") return failed("--lang must be ru or en, not '" + value + "'");
            arguments_.russian = value == "ru";
            return true;
        }
        if (!checking || (name != "--min" && name != "--max" && name != "--limit"))
            return failed("unknown option " + name + (checking ? "" : " for index"));
        const auto number = parseNumber(value);
        if (!number) return failed(name + " must be a number, not '" + value + "'");
        if (name == "--limit") {
            arguments_.limit = *number;
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
        if (arguments_.command == Command::check) {
            if (positional.size() != 1) return fail("check takes one FILE");
            if (arguments_.minLength > arguments_.maxLength) return fail("--min is above --max");
            arguments_.file = positional[0];
        } else {
            if (positional.size() != 2) return fail("index takes PROGRAM_DIR and USER");
            if (!languageGiven) return fail("index needs --lang ru or --lang en");
            if (positional[1].empty()) return fail("the user name is empty");
            arguments_.programDirectory = positional[0];
            arguments_.user = positional[1];
        }
        return {arguments_, {}};
    }

    const std::vector<std::string>& words_;
    Arguments arguments_;
    std::string error_;
};

}  // namespace

ParsedArguments parseArguments(const std::vector<std::string>& words) { return Parser(words).parse(); }

}  // namespace dactyla::text_tool
