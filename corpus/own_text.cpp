#include "corpus/own_text.h"

#include <string_view>

#include "base/whole_file.h"
#include "texts/interface_texts.h"

namespace dactyla {
namespace {

constexpr int kMaxKeptNames = 99;


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
    std::string message = texts::textString("ownText.file") + conversion.textName +
                          texts::textString("ownText.savedIn") + encodingName(conversion.from);
    if (!conversion.converted) return message + texts::textString("ownText.notConverted");
    return message + texts::textString("ownText.converted") + conversion.keptName + ".";
}

const char* conversionTitle(const TextConversion& conversion) {
    return texts::textC(conversion.converted ? "refusal.title" : "bummer");
}

}  // namespace dactyla
