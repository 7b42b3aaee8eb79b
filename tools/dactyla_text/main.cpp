// dactyla-text: checks sentence texts and builds users' sentence indexes.
#include <iostream>
#include <string>
#include <vector>

#include "platform/cp1251.h"
#include "tools/dactyla_text/commands.h"

#ifdef _WIN32
// Wide arguments, so Russian paths and user names arrive whatever the system's code page.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> words;
    for (int k = 1; k < argc; ++k) {
        const std::wstring wide(argv[k]);
        words.push_back(dactyla::platform::utf16ToCp1251(std::u16string(wide.begin(), wide.end())));
    }
    return dactyla::text_tool::runTool(words, std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
    std::vector<std::string> words;
    for (int k = 1; k < argc; ++k) words.push_back(dactyla::platform::utf8ToCp1251(argv[k]));
    return dactyla::text_tool::runTool(words, std::cout, std::cerr);
}
#endif
