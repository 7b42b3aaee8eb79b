#include "corpus/own_text.h"

#include <string_view>

#include "base/whole_file.h"

namespace dactyla {
namespace {

constexpr int kMaxKeptNames = 99;

// "Файл ", " был сохранён в кодировке "
constexpr const char* kFile = "\xD4\xE0\xE9\xEB ";
constexpr const char* kWasSavedIn =
    " \xE1\xFB\xEB \xF1\xEE\xF5\xF0\xE0\xED\xB8\xED \xE2 \xEA\xEE\xE4\xE8\xF0\xEE\xE2\xEA\xE5 ";
// ".\nDactyla перевела его в WIN-1251, чтобы по нему можно было печатать;\nпрежний файл лежит
// рядом под именем "
constexpr const char* kConverted =
    ".\nDactyla \xEF\xE5\xF0\xE5\xE2\xE5\xEB\xE0 \xE5\xE3\xEE \xE2 WIN-1251, \xF7\xF2\xEE\xE1\xFB \xEF\xEE "
    "\xED\xE5\xEC\xF3 \xEC\xEE\xE6\xED\xEE \xE1\xFB\xEB\xEE \xEF\xE5\xF7\xE0\xF2\xE0\xF2\xFC;\n\xEF\xF0\xE5\xE6"
    "\xED\xE8\xE9 \xF4\xE0\xE9\xEB \xEB\xE5\xE6\xE8\xF2 \xF0\xFF\xE4\xEE\xEC \xEF\xEE\xE4 \xE8\xEC\xE5\xED\xE5\xEC ";
// ", а перевести его в WIN-1251 не удалось\n(нет места на диске или файл занят). Текст оставлен как есть."
constexpr const char* kNotConverted =
    ", \xE0 \xEF\xE5\xF0\xE5\xE2\xE5\xF1\xF2\xE8 \xE5\xE3\xEE \xE2 WIN-1251 \xED\xE5 \xF3\xE4\xE0\xEB\xEE\xF1\xFC\n("
    "\xED\xE5\xF2 \xEC\xE5\xF1\xF2\xE0 \xED\xE0 \xE4\xE8\xF1\xEA\xE5 \xE8\xEB\xE8 \xF4\xE0\xE9\xEB \xE7\xE0\xED"
    "\xFF\xF2). \xD2\xE5\xEA\xF1\xF2 \xEE\xF1\xF2\xE0\xE2\xEB\xE5\xED \xEA\xE0\xEA \xE5\xF1\xF2\xFC.";
// "Так дела не делаются", "Облом"
constexpr const char* kConvertedTitle = "\xD2\xE0\xEA \xE4\xE5\xEB\xE0 \xED\xE5 \xE4\xE5\xEB\xE0\xFE\xF2\xF1\xFF";
constexpr const char* kFailedTitle = "\xCE\xE1\xEB\xEE\xEC";

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The first free name for the original; one that already holds these very bytes (a conversion
// cut short before the text was replaced) is taken again rather than doubled.
std::string keptPath(const std::string& path, TextEncoding from, std::string_view original, bool& present) {
    const std::string base = path + "." + encodingTag(from) + ".original";
    for (int k = 1; k <= kMaxKeptNames; ++k) {
        const std::string name = k == 1 ? base : base + "-" + std::to_string(k);
        if (!platform::fileExists(name)) {
            present = false;
            return name;
        }
        if (platform::readWholeFile(name) == original) {
            present = true;
            return name;
        }
    }
    return {};
}

std::optional<std::string> readAll(platform::File& file, std::uint64_t size) {
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!file.seek(0) || file.read(bytes.data(), bytes.size()) != bytes.size()) return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<TextConversion> convertForeignText(const std::string& path, platform::File& text,
                                                 const platform::OpenOptions& reopen) {
    const auto encoding = detectFileEncoding(text);
    if (!encoding || *encoding == TextEncoding::cp1251) return std::nullopt;
    TextConversion conversion {*encoding, fileNameOf(path), {}, false};
    const auto size = text.size();
    const auto original = size && *size <= kLargestConvertedText ? readAll(text, *size) : std::nullopt;
    if (!original) return conversion;

    bool present = false;
    const std::string kept = keptPath(path, *encoding, *original, present);
    if (kept.empty() || (!present && !writeWholeFileReplacing(kept, *original))) return conversion;
    // The text must be closed to be replaced; it is open again whatever happens.
    text.close();
    const bool replaced = writeWholeFileReplacing(path, toCp1251(*original, *encoding));
    text = platform::File::open(path, reopen);
    if (!replaced) {
        if (!present) platform::deleteFile(kept);
        return conversion;
    }
    conversion.keptName = fileNameOf(kept);
    conversion.converted = true;
    return conversion;
}

std::string conversionMessage(const TextConversion& conversion) {
    std::string message = std::string(kFile) + conversion.textName + kWasSavedIn + encodingName(conversion.from);
    return conversion.converted ? message + kConverted + conversion.keptName + "." : message + kNotConverted;
}

const char* conversionTitle(const TextConversion& conversion) {
    return conversion.converted ? kConvertedTitle : kFailedTitle;
}

}  // namespace dactyla
