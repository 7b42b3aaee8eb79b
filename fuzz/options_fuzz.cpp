// Any bytes as Options.dat: reading never fails, always yields settings inside their ranges, and
// what is written back reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/directory.h"
#include "platform/file.h"
#include "platform/system.h"
#include "users/options.h"

namespace {

using namespace dactyla;

const std::string& userDirectory() {
    static const std::string directory = [] {
        std::string path;
        for (unsigned attempt = 0;; ++attempt) {
            path = platform::joinPath(platform::temporaryDirectory(),
                                      "dactyla-options-fuzz-" + std::to_string(platform::tickCount()) + "-" +
                                          std::to_string(attempt));
            if (platform::createDirectory(path)) return path;
        }
    }();
    return directory;
}

void check(bool condition) {
    if (!condition) std::abort();
}

bool isFlag(std::uint8_t value) { return value <= 1; }

void checkRanges(const Options& o) {
    check(10 <= o.minLength && o.minLength <= o.maxLength && o.maxLength <= 120);
    check(o.timerSeconds <= 3600);
    check(isFlag(o.russian) && isFlag(o.alphabetMode) && isFlag(o.uniformLetters) && isFlag(o.allowCapitals) &&
          isFlag(o.timerEnabled) && isFlag(o.backgroundSound) && isFlag(o.picture));
    check(o.maxCapitalRun <= 15);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = platform::joinPath(userDirectory(), "Options.dat");
    {
        platform::File file = platform::File::open(path, {.mode = platform::OpenMode::createAlways});
        check(file.write(data, size) == size);
    }
    LiveOptions live;
    readOptions(live, userDirectory());
    checkRanges(live.options);
    const Totals before = readTotals(live);
    addTotals(live, 1, 2);
    const Totals after = readTotals(live);
    check(after.characters == before.characters + 1u && after.seconds == before.seconds + 2u);

    writeOptions(live);
    const Options written = live.options;
    readOptions(live, userDirectory());
    check(sameOptions(live.options, written));
    live.optionsFile.close();
    check(platform::readWholeFile(path).value_or("").size() >= 16);
    return 0;
}
