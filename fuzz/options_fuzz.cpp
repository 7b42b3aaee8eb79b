// Any bytes as Options.dat: reading never fails, always yields settings inside their ranges, and
// what is written back reads back the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "platform/file.h"
#include "users/options_file.h"

namespace {

using namespace dactyla;
using fuzz::require;

bool isFlag(std::uint8_t value) { return value <= 1; }

void requireRanges(const Options& o) {
    require(10 <= o.minLength && o.minLength <= o.maxLength && o.maxLength <= 120, "length window");
    require(o.timerSeconds <= 3600, "timer at most an hour");
    require(isFlag(o.russian) && isFlag(o.alphabetMode) && isFlag(o.uniformLetters) &&
                isFlag(o.allowCapitals) && isFlag(o.timerEnabled) && isFlag(o.backgroundSound) &&
                isFlag(o.picture),
            "switches are 0 or 1");
    require(o.maxCapitalRun <= 15, "capital run in four bits");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchDirectory user("options");
    user.write("Options.dat", data, size);

    LiveOptions live;
    readOptions(live, user.path());
    require(live.optionsFile.isOpen() && !live.optionsDirty, "an existing file is opened, not created");
    requireRanges(live.options);
    const Totals before = readTotals(live);
    addTotals(live, 1, 2);
    const Totals after = readTotals(live);
    require(after.characters == before.characters + 1u && after.seconds == before.seconds + 2u,
            "totals add up");

    writeOptions(live);
    const Options written = live.options;
    readOptions(live, user.path());
    require(live.options == written, "written settings read back the same");
    live.optionsFile.close();
    require(platform::readWholeFile(user.file("Options.dat")).value_or("").size() >= 16, "a full record");
    return 0;
}
