// The timing section of the key statistics file, the part with records to judge: a patch laid
// anywhere over a real section (a short input reaches every record, so millions of inputs run).
// Reading never crashes; what reads as valid writes back byte for byte, ranks its pairs, and
// takes a new session that is stored whole.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "key_statistics_seed.h"

namespace {

using namespace dactyla;
using fuzz::require;

const std::string& seedSection() {
    static const std::string section = encodeTiming(fuzz::seedStatistics().timing);
    return section;
}

void check(std::string_view bytes) {
    const auto decoded = decodeTiming(bytes);
    if (!decoded) return;
    require(encodeTiming(*decoded) == bytes, "a valid section writes back byte for byte");
    for (const PairTiming& pair : slowestPairs(*decoded, 5)) require(pair.medianMs().has_value(), "a ranked pair has a median");

    TimingStatistics grown = *decoded;
    grown.addSession(fuzz::laterSession());
    const auto stored = decodeTiming(encodeTiming(grown));
    require(stored.has_value() && *stored == grown, "a session added to it is stored whole");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    check(input);
    std::string section = seedSection();
    fuzz::patch(section, input, {{0, seedSection().size() + 64}});
    check(section);
    return 0;
}
