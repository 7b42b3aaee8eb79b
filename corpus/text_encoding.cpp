#include "corpus/text_encoding.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "platform/cp1251.h"

namespace dactyla {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

struct Utf8Step {
    std::size_t length = 0;  // bytes taken: the whole sequence, or its well-formed start
    char32_t character = 0;
    bool valid = false;      // a whole, well-formed sequence
    bool cut = false;        // well-formed as far as the bytes reach, but they end inside it
};

// One UTF-8 sequence at bytes[0]: the shortest form only, no surrogates, nothing past U+10FFFF.
// An ill-formed one takes its longest well-formed start (at least one byte), so it stands for
// one unknown character.
Utf8Step utf8Step(const unsigned char* bytes, std::size_t available) {
    const unsigned char lead = bytes[0];
    if (lead < 0x80) return {1, lead, true, false};
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {1, 0, false, false};
    }
    char32_t character = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if (k >= available) return {k, 0, false, true};
        const unsigned char next = bytes[k];
        if (next < low || next > high) return {k, 0, false, false};
        low = 0x80;
        high = 0xBF;
        character = (character << 6) | (next & 0x3F);
    }
    return {length, character, true, false};
}

struct Utf8Verdict {
    bool wellFormed = true;  // no ill-formed sequence (one cut at the end aside)
    bool multiByte = false;  // at least one whole multi-byte sequence
    std::size_t cutAt = 0;   // where a sequence cut by the end of the bytes starts; else their size
};

Utf8Verdict checkUtf8(const unsigned char* bytes, std::size_t size) {
    Utf8Verdict verdict;
    std::size_t at = 0;
    while (at < size) {
        // Plain ASCII, the bulk of an English text, eight bytes at a time.
        if (size - at >= 8) {
            std::uint64_t block;
            std::memcpy(&block, bytes + at, sizeof block);
            if ((block & 0x8080808080808080u) == 0) {
                at += 8;
                continue;
            }
        }
        const Utf8Step step = utf8Step(bytes + at, size - at);
        if (step.cut) {
            verdict.cutAt = at;
            return verdict;
        }
        if (!step.valid) {
            verdict.wellFormed = false;
            return verdict;
        }
        verdict.multiByte = verdict.multiByte || step.length > 1;
        at += step.length;
    }
    verdict.cutAt = size;
    return verdict;
}

TextEncoding markedEncoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark)) return TextEncoding::utf8WithMark;
    if (bytes.starts_with(kUtf16LeMark)) return TextEncoding::utf16LeWithMark;
    if (bytes.starts_with(kUtf16BeMark)) return TextEncoding::utf16BeWithMark;
    return TextEncoding::cp1251;
}

char cp1251Of(char32_t character) {
    if (character == 0) return '\0';
    if (character > 0xFFFF) return kNoCp1251Character;
    const unsigned char byte = platform::utf16ToCp1251Byte(static_cast<char16_t>(character));
    return byte == 0 ? kNoCp1251Character : static_cast<char>(byte);
}

std::string utf8ToCp1251(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Step step = utf8Step(bytes + at, text.size() - at);
        out += step.valid ? cp1251Of(step.character) : kNoCp1251Character;
        at += step.length;
    }
    return out;
}

std::string utf16ToCp1251(std::string_view text, bool bigEndian) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const auto unitAt = [&](std::size_t at) {
        return bigEndian ? static_cast<char16_t>(bytes[at] << 8 | bytes[at + 1])
                         : static_cast<char16_t>(bytes[at + 1] << 8 | bytes[at]);
    };
    const auto isHigh = [](char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; };
    const auto isLow = [](char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; };
    std::string out;
    out.reserve(text.size() / 2 + 1);
    std::size_t at = 0;
    for (; at + 2 <= text.size(); at += 2) {
        const char16_t unit = unitAt(at);
        if (isHigh(unit) && at + 4 <= text.size() && isLow(unitAt(at + 2))) {
            // A pair stands for a character beyond U+FFFF, none of which CP1251 has.
            out += kNoCp1251Character;
            at += 2;
        } else {
            out += isHigh(unit) || isLow(unit) ? kNoCp1251Character : cp1251Of(unit);
        }
    }
    // An odd last byte is half a character.
    if (at < text.size()) out += kNoCp1251Character;
    return out;
}

}  // namespace

TextEncoding detectEncoding(std::string_view bytes, bool cutShort) {
    const TextEncoding marked = markedEncoding(bytes);
    if (marked != TextEncoding::cp1251) return marked;
    const Utf8Verdict verdict = checkUtf8(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    const bool utf8 = verdict.wellFormed && verdict.multiByte && (cutShort || verdict.cutAt == bytes.size());
    return utf8 ? TextEncoding::utf8 : TextEncoding::cp1251;
}

std::optional<TextEncoding> detectFileEncoding(platform::File& file) {
    constexpr std::size_t kBlock = 64 * 1024;
    constexpr std::size_t kLongestCut = 3;
    const auto size = file.size();
    if (!size || !file.seek(0)) return std::nullopt;
    std::vector<unsigned char> buffer(kLongestCut + kBlock);
    std::uint64_t left = *size;
    std::size_t carried = 0;
    bool multiByte = false;
    for (bool first = true;; first = false) {
        const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(left, kBlock));
        if (file.read(buffer.data() + carried, wanted) != wanted) return std::nullopt;
        left -= wanted;
        const std::size_t filled = carried + wanted;
        const std::string_view bytes(reinterpret_cast<const char*>(buffer.data()), filled);
        if (first && markedEncoding(bytes) != TextEncoding::cp1251) return markedEncoding(bytes);
        const Utf8Verdict verdict = checkUtf8(buffer.data(), filled);
        if (!verdict.wellFormed) return TextEncoding::cp1251;
        multiByte = multiByte || verdict.multiByte;
        if (left == 0) return multiByte && verdict.cutAt == filled ? TextEncoding::utf8 : TextEncoding::cp1251;
        // A sequence cut by the block's end is finished by the next block.
        carried = filled - verdict.cutAt;
        std::memmove(buffer.data(), buffer.data() + verdict.cutAt, carried);
    }
}

std::string toCp1251(std::string_view bytes, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::cp1251: return std::string(bytes);
    case TextEncoding::utf8: return utf8ToCp1251(bytes);
    case TextEncoding::utf8WithMark: return utf8ToCp1251(bytes.substr(kUtf8Mark.size()));
    case TextEncoding::utf16LeWithMark: return utf16ToCp1251(bytes.substr(kUtf16LeMark.size()), false);
    case TextEncoding::utf16BeWithMark: return utf16ToCp1251(bytes.substr(kUtf16BeMark.size()), true);
    }
    return std::string(bytes);
}

const char* encodingName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::cp1251: return "CP1251";
    case TextEncoding::utf8: return "UTF-8";
    case TextEncoding::utf8WithMark: return "UTF-8 (BOM)";
    case TextEncoding::utf16LeWithMark: return "UTF-16 LE";
    case TextEncoding::utf16BeWithMark: return "UTF-16 BE";
    }
    return "CP1251";
}

const char* encodingTag(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::cp1251: return "CP1251";
    case TextEncoding::utf8: return "UTF-8";
    case TextEncoding::utf8WithMark: return "UTF-8-BOM";
    case TextEncoding::utf16LeWithMark: return "UTF-16LE";
    case TextEncoding::utf16BeWithMark: return "UTF-16BE";
    }
    return "CP1251";
}

std::optional<DecodedText> readAsCp1251(platform::File& file, std::uint64_t limit, std::uint64_t largestSource) {
    const auto size = file.size();
    if (!size) return std::nullopt;
    auto text = ScanText::read(file, limit);
    if (!text) return std::nullopt;
    const TextEncoding encoding = detectEncoding(text->view(0, text->size()), *size > text->size());
    if (encoding == TextEncoding::cp1251) return DecodedText {std::move(*text), encoding};
    if (*size > largestSource) return std::nullopt;
    if (*size > text->size()) {
        text = ScanText::read(file, *size);
        if (!text || text->size() != *size) return std::nullopt;
    }
    std::string converted = toCp1251(text->view(0, text->size()), encoding);
    if (converted.size() > limit) converted.resize(static_cast<std::size_t>(limit));
    return DecodedText {ScanText(converted), encoding};
}

}  // namespace dactyla
