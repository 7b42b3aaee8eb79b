#pragma once
// The layout rules every stored help page keeps, checked the same way on the generator's output
// (natively) and on the pages linked into the program (under Wine).
#include <cstddef>
#include <string>
#include <vector>

namespace dactyla::testing {

struct HelpPageRules {
    std::size_t titleIndent = 5;
    // The lines after the page's last empty line may reach this width.
    std::size_t closingWidth = 50;
};

inline constexpr std::size_t kHelpPageWidth = 50;

// The page's lines without their CR LF; the NUL and anything after it are not part of them.
inline std::vector<std::string> helpPageLines(const std::string& page) {
    std::vector<std::string> lines;
    const std::string text = page.substr(0, page.find('\0'));
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// Every broken rule, one line each; empty when the page is laid out right.
inline std::vector<std::string> helpPageFaults(const std::string& page, const HelpPageRules& rules) {
    std::vector<std::string> faults;
    if (page.empty() || page.back() != '\0' || page.find('\0') != page.size() - 1) {
        faults.push_back("not ended by exactly one NUL");
    }
    for (std::size_t i = 0; i < page.size(); ++i) {
        const bool loneCr = page[i] == '\r' && (i + 1 == page.size() || page[i + 1] != '\n');
        const bool loneLf = page[i] == '\n' && (i == 0 || page[i - 1] != '\r');
        if (loneCr || loneLf) {
            faults.push_back("line break other than CR LF at byte " + std::to_string(i));
            break;
        }
    }
    if (page.size() >= 3 && page.compare(page.size() - 3, 3, std::string("\r\n\0", 3)) != 0) {
        faults.push_back("the last line has no CR LF");
    }
    const std::vector<std::string> lines = helpPageLines(page);
    if (lines.size() < 5) {
        faults.push_back("no body below the header");
        return faults;
    }
    if (lines[0] != std::string(24, '-')) faults.push_back("line 1 is not 24 hyphens");
    const std::string& title = lines[1];
    if (title.find_first_not_of(' ') != rules.titleIndent) {
        faults.push_back("the title is not indented by " + std::to_string(rules.titleIndent));
    }
    if (title.size() > kHelpPageWidth || (!title.empty() && title.back() == ' '))
        faults.push_back("the title is too wide or padded");
    if (lines[2] != std::string(10, '-')) faults.push_back("line 3 is not 10 hyphens");
    if (lines[3] != "   ") faults.push_back("line 4 is not 3 spaces");

    std::size_t closingStart = lines.size();
    while (closingStart > 4 && !lines[closingStart - 1].empty()) --closingStart;
    for (std::size_t i = 4; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::string where = "line " + std::to_string(i + 1) + " \"" + line + "\": ";
        const std::size_t limit = i >= closingStart ? rules.closingWidth : kHelpPageWidth;
        if (line.size() > limit) faults.push_back(where + "wider than " + std::to_string(limit));
        if (!line.empty() && line.compare(0, 3, "   ") != 0) faults.push_back(where + "not indented by 3");
        if (!line.empty() && line.back() == ' ') faults.push_back(where + "trailing space");
        if (line.find('\t') != std::string::npos) faults.push_back(where + "tab");
    }
    return faults;
}

}  // namespace dactyla::testing
