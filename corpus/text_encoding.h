#pragma once
// Texts saved by other editors: CP1251, UTF-8 with or without a byte-order mark, UTF-16 LE or
// BE with a mark. Everything the program does with a text happens in CP1251, so a text in any
// of the others is converted first; anything that is none of them is read as CP1251.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "corpus/sentence_scanner.h"
#include "platform/file.h"

namespace dactyla {

enum class TextEncoding { cp1251, utf8, utf8WithMark, utf16LeWithMark, utf16BeWithMark };

// Stands for every character CP1251 lacks and every byte sequence that is no character: the one
// byte CP1251 leaves unassigned, which the import's cleaning refuses like any other unknown byte
// and the scanner takes for an ordinary character.
inline constexpr char kNoCp1251Character = '\x98';

// The exact rules: a mark decides (EF BB BF, FF FE, FE FF); without one, a text that decodes
// as UTF-8 and holds at least one multi-byte sequence is UTF-8; anything else is CP1251.
// `cutShort`: the bytes are the start of a longer file, so a sequence cut at their end counts.
TextEncoding detectEncoding(std::string_view bytes, bool cutShort = false);

// The same rules over a whole file, read in blocks from its start and not kept: a CP1251 text
// in Russian is told after its first block. Nothing when the file cannot be read.
std::optional<TextEncoding> detectFileEncoding(platform::File& file);

// The text in CP1251, without its mark.
std::string toCp1251(std::string_view bytes, TextEncoding encoding);

// The encoding's name as shown to the user and printed by the tool (ASCII).
const char* encodingName(TextEncoding encoding);
// Its part of a file name: "UTF-8", "UTF-16LE", ...
const char* encodingTag(TextEncoding encoding);

struct DecodedText {
    ScanText text;
    TextEncoding encoding = TextEncoding::cp1251;
};

// Reads `file` from its start as CP1251 text of at most `limit` bytes: a CP1251 file straight,
// a file in another encoding whole (up to `largestSource` bytes) and then converted and cut to
// `limit`. Nothing when the file cannot be read or is larger than `largestSource` and foreign.
std::optional<DecodedText> readAsCp1251(platform::File& file, std::uint64_t limit,
                                        std::uint64_t largestSource);

}  // namespace dactyla
