#include "course/course_texts.h"

#include "platform/cp1251.h"

namespace dactyla::courseText {

std::string cp1251Text(std::string_view utf8) { return platform::utf8ToCp1251(std::string(utf8)); }

}  // namespace dactyla::courseText
