#include "drill/line_feed.h"

#include <cstring>
#include <utility>

#include "base/random.h"
#include "base/record_shuffle.h"
#include "platform/system.h"

namespace dactyla {
namespace {

constexpr char kPunctuation[] = ".!?,-\":;()";

char* appendRange(char* out, unsigned char first, unsigned char last) {
    for (unsigned c = first; c <= last; ++c) *out++ = static_cast<char>(c);
    return out;
}

char* appendSpaces(char* out, int count) {
    std::memset(out, ' ', static_cast<std::size_t>(count));
    return out + count;
}

// The blocks back to back; the space counts are drawn before the shuffle reseeds the generator.
std::size_t writeBlocks(char* destination, const Options& options) {
    const bool russian = options.russian != 0;
    char* out = destination;
    out = russian ? appendRange(out, 0xE0, 0xFF) : appendRange(out, 'a', 'z');
    out = appendSpaces(out, nextRandom() % 5 + 7);
    std::memcpy(out, kPunctuation, sizeof kPunctuation - 1);
    out += sizeof kPunctuation - 1;
    if (options.allowCapitals) {
        out = russian ? appendRange(out, 0xC0, 0xDF) : appendRange(out, 'A', 'Z');
        out = appendSpaces(out, nextRandom() % 5 + 5);
    }
    out = appendRange(out, '0', '9');
    return static_cast<std::size_t>(out - destination);
}

std::uint16_t finishLine(char* destination, std::size_t length) {
    breakDoubledSpaces(destination, length);
    if (destination[length - 1] == ' ') --length;
    destination[length] = '\0';
    return static_cast<std::uint16_t>(length);
}

}  // namespace

void breakDoubledSpaces(char* line, std::size_t length) {
    bool prevSpace = true;
    for (std::size_t k = 0; k + 2 < length; ++k) {
        if (line[k] != ' ') {
            prevSpace = false;
        } else if (!prevSpace) {
            prevSpace = true;
        } else {
            const std::size_t d = line[k + 2] != ' ' ? 2 : 1;
            std::swap(line[k], line[k + d]);
            prevSpace = false;
        }
    }
}

std::uint16_t makeAlphabetLineAt(std::uint32_t tick, char* destination, const Options& options) {
    const std::size_t length = writeBlocks(destination, options);
    recordShuffleAt(tick, reinterpret_cast<std::uint8_t*>(destination), static_cast<std::int32_t>(length), 1);
    return finishLine(destination, length);
}

std::uint16_t makeAlphabetLine(char* destination, const Options& options) {
    return makeAlphabetLineAt(platform::tickCount(), destination, options);
}

std::uint16_t nextDrillLine(char* destination, const Options& options, DrillCorpus* corpus, LineSource* source) {
    if (source != nullptr) return source->nextLine(destination);
    if (options.alphabetMode && options.uniformLetters) return makeAlphabetLine(destination, options);
    if (corpus == nullptr) return 0;
    return corpus->nextCorpusLine(destination, options);
}

}  // namespace dactyla
