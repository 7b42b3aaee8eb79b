#pragma once
// Conversions between the program's CP1251 text and the encodings of the systems around it.
#include <string>

namespace dactyla::platform {

std::u16string cp1251ToUtf16(const std::string& text);
// Characters without a CP1251 byte become '?'.
std::string utf16ToCp1251(const std::u16string& text);
std::string cp1251ToUtf8(const std::string& text);
std::string utf8ToCp1251(const std::string& text);

// One character each way: 0 when the character has no CP1251 byte.
char16_t cp1251ByteToUtf16(unsigned char byte);
unsigned char utf16ToCp1251Byte(char16_t character);

}  // namespace dactyla::platform
