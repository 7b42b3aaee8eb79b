// dactyla-text: checks sentence texts, builds users' sentence indexes and imports sentences.
#include <iostream>
#include <string>
#include <vector>

#include "platform/cp1251.h"
#include "platform/system.h"
#include "tools/dactyla_text/commands.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

// Wide arguments, so Russian paths and user names arrive whatever the system's code page.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> words;
    for (int k = 1; k < argc; ++k) {
        const std::wstring wide(argv[k]);
        words.push_back(dactyla::platform::utf16ToCp1251(std::u16string(wide.begin(), wide.end())));
    }
    // import writes CP1251 text with CR LF as it stands.
    _setmode(_fileno(stdout), _O_BINARY);
    return dactyla::text_tool::runTool(words, std::cout, std::cerr, dactyla::platform::temporaryDirectory());
}
#else
int main(int argc, char** argv) {
    std::vector<std::string> words;
    for (int k = 1; k < argc; ++k) words.push_back(dactyla::platform::utf8ToCp1251(argv[k]));
    return dactyla::text_tool::runTool(words, std::cout, std::cerr, dactyla::platform::temporaryDirectory());
}
#endif
