// The sentence scanner over any bytes and any length window.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/text_rules.h"
#include "corpus/sentence_scanner.h"
#include "fuzz_support.h"

using dactyla::fuzz::require;

namespace {


}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const dactyla::SentenceRules rules {(data[0] & 1) != 0, data[1], static_cast<std::uint16_t>(data[2] * 2)};
    const dactyla::ScanText text(std::string_view(reinterpret_cast<const char*>(data + 3), size - 3));
    const std::uint8_t* bytes = text.bytes();

    std::uint32_t scanPos = 0;
    std::uint32_t previousEnd = 0;
    std::size_t found = 0;
    dactyla::SentenceScanner scanner(rules, text);
    while (const auto sentence = dactyla::findNextSentence(rules, text, scanPos)) {
        const auto same = scanner.next();
        require(same && same->start == sentence->start && same->end == sentence->end &&
                    same->length == sentence->length && scanner.position() == scanPos,
                "a scanner over the whole text finds what single calls find");
        require(++found <= text.size(), "every sentence consumes text");
        require(sentence->start >= previousEnd, "sentences come in order without overlap");
        require(sentence->end == scanPos && sentence->end <= text.size(), "the scan rests after the terminator");
        require(dactyla::isCapital(rules.russian, bytes[sentence->start]), "a sentence starts with a capital");
        require(dactyla::isTerminator(bytes[sentence->end - 1]), "a sentence ends with a terminator");
        const std::uint8_t after = bytes[sentence->end];
        require(after == ' ' || after == '\r' || after == 0, "the terminator is followed by a boundary");
        require(sentence->length >= rules.minLength && sentence->length <= rules.maxLength, "length in window");
        require(sentence->length <= sentence->end - sentence->start, "discounts never add length");
        for (std::uint32_t k = sentence->start; k < sentence->end; ++k) require(bytes[k] != 0, "no zero inside");
        previousEnd = sentence->end;
    }
    require(!scanner.next() && scanner.position() == scanPos, "a scanner over the whole text ends where they end");
    require(scanPos <= text.size() && bytes[scanPos] == 0, "an ended scan rests on a zero byte");
    require(dactyla::findSentence(rules.russian, rules.minLength, rules.maxLength, text, scanPos) ==
                dactyla::kNoSentence,
            "an ended scan stays ended");
    return 0;
}
