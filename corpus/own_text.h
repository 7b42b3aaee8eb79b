#pragma once
// TextData.Rus or TextData.Eng saved by another editor (Notepad saves UTF-8): the program's
// own text is converted to CP1251 once, its original kept beside it under a name that says what
// it is, so the drill never offers the bytes of another encoding as text to type.
#include <optional>
#include <string>

#include "corpus/text_encoding.h"
#include "platform/file.h"

namespace dactyla {

struct TextConversion {
    TextEncoding from = TextEncoding::cp1251;
    std::string textName;  // "TextData.Rus"
    std::string keptName;  // the original beside it, "TextData.Rus.UTF-8.original"; empty when not converted
    bool converted = false;
};

// The largest own text converted; a larger one is left as it is (no index could reach it).
inline constexpr std::uint64_t kLargestConvertedText = 256u << 20;

// Checks the text at `path`, open as `text`; when it is UTF-8 or UTF-16, keeps its bytes as
// the first free "<name>.<encoding>.original" beside it, replaces it with its CP1251 form and
// reopens `text` with `reopen`. Nothing when the text is CP1251. When a step fails, the text
// stays as it was (and nothing is kept), `converted` is false, and `text` is open again.
std::optional<TextConversion> convertForeignText(const std::string& path, platform::File& text,
                                                 const platform::OpenOptions& reopen);

// What the program says about it, CP1251, with its title.
std::string conversionMessage(const TextConversion& conversion);
const char* conversionTitle(const TextConversion& conversion);

}  // namespace dactyla
