#include "platform/cp1251.h"

#include <array>

namespace dactyla::platform {
namespace {

// 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F. 0x98 has no character and maps to U+0098 so
// that every byte survives a round trip.
constexpr std::array<char16_t, 64> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

char16_t cp1251ByteToUtf16(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte >= 0xC0) return static_cast<char16_t>(0x0410 + (byte - 0xC0));
    return kHighHalf[byte - 0x80];
}

unsigned char utf16ToCp1251Byte(char16_t character) {
    if (character < 0x80) return static_cast<unsigned char>(character);
    if (character >= 0x0410 && character <= 0x044F)
        return static_cast<unsigned char>(0xC0 + (character - 0x0410));
    for (std::size_t i = 0; i < kHighHalf.size(); ++i)
        if (kHighHalf[i] == character) return static_cast<unsigned char>(0x80 + i);
    return 0;
}

std::u16string cp1251ToUtf16(const std::string& text) {
    std::u16string out;
    out.reserve(text.size());
    for (char c : text) out += cp1251ByteToUtf16(static_cast<unsigned char>(c));
    return out;
}

std::string utf16ToCp1251(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        const unsigned char byte = utf16ToCp1251Byte(c);
        out += (byte == 0 && c != 0) ? '?' : static_cast<char>(byte);
    }
    return out;
}

std::string cp1251ToUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) appendUtf8(out, cp1251ByteToUtf16(static_cast<unsigned char>(c)));
    return out;
}

std::string utf8ToCp1251(const std::string& text) {
    std::u16string wide;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 1;
        char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
        bool valid = length == 1 ? lead < 0x80 : i + length <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        wide += (valid && c <= 0xFFFF) ? static_cast<char16_t>(c) : u'?';
        i += valid ? length : 1;
    }
    return utf16ToCp1251(wide);
}

}  // namespace dactyla::platform
