// The weak-keys drill over a fuzzed text and fuzzed statistics: every line is a sentence of the
// text as it reads, fits the strip's buffer, and none comes twice before the quarter is used up.
// Input: flags, minLength, maxLength, then 3 bytes per counted key (byte, correct, wrong) up to
// a zero byte, then the text.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <set>
#include <string_view>
#include <string>

#include "corpus/sentence_corpus.h"
#include "fuzz_support.h"
#include "weak_keys/weak_key_drill.h"

using dactyla::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    dactyla::Options options;
    options.russian = data[0] & 1;
    options.minLength = static_cast<std::uint16_t>(10 + data[1] % 111);
    options.maxLength = static_cast<std::uint16_t>(options.minLength + data[2] % (121 - options.minLength));
    std::size_t at = 3;
    dactyla::KeyCounts counts;
    for (; at + 3 <= size && data[at] != 0; at += 3)
        for (int k = 0; k < data[at + 1] * 4; ++k) {
            if (k < data[at + 2] * 4) counts.countWrong(data[at], data[at + 2]);
            else counts.countCorrect(data[at]);
        }
    if (at < size) ++at;
    const std::string raw(reinterpret_cast<const char*>(data + at), size - at);
    const dactyla::ScanText text(raw);

    dactyla::WeakKeyDrill drill;
    const bool aimed = drill.aim(dactyla::evidenceFromCounts(counts, options.russian != 0), text, options);
    require(aimed == (drill.spots().enough && drill.lines().quarterSize() > 0), "aimed only with spots and lines");
    // What is left of the quarter this round: every line takes one of them away.
    std::multiset<std::string> left;
    const std::size_t quarter = drill.lines().quarterSize();
    for (std::size_t k = 0; k < quarter; ++k) left.insert(std::string(drill.lines().quarterSentence(k)));
    for (std::size_t k = 0; k < quarter + 2; ++k) {
        char line[dactyla::kCorpusLineRoom + 8];
        std::memset(line, '#', sizeof line);
        const std::uint16_t length = drill.nextLine(line);
        require(length <= dactyla::kCorpusLineRoom - 1, "a line fits its room");
        require(line[dactyla::kCorpusLineRoom] == '#', "nothing written past the room");
        if (!aimed) {
            require(length == 0, "no lines without an aim");
            break;
        }
        require(length >= 2 && line[length - 1] == ' ' && line[length] == '\0', "a sentence, a space and a zero");
        const std::string sentence(line, length - 1);
        require(sentence.find_first_of("\r\n") == std::string::npos, "line breaks are joined");
        if (k >= quarter) continue;
        const auto found = left.find(sentence.substr(0, std::min<std::size_t>(sentence.size(), dactyla::kLongestSentence)));
        require(found != left.end(), "a sentence of the quarter, none twice before the quarter is used up");
        left.erase(found);
    }
    return 0;
}
