#include "course/course_texts.h"

#include "platform/cp1251.h"
#include "texts/interface_texts.h"

namespace dactyla::courseText {

std::string orderWord(std::string_view utf8) { return platform::utf8ToCp1251(std::string(utf8)); }

std::string courseString(std::string_view key) { return texts::textString(key); }

std::string keyName(unsigned char c) {
    return c == ' ' ? texts::textString("chart.space") : std::string(1, static_cast<char>(c));
}

}  // namespace dactyla::courseText
