// The sentence import over any bytes: the cleaning of one sentence, and the scan of a whole
// file into its two work files.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/text_rules.h"
#include "corpus/sentence_import.h"
#include "fuzz_support.h"

using dactyla::fuzz::require;

namespace {

bool isTypeable(bool russian, std::uint8_t c) {
    const bool letter = russian ? c >= 0xC0 : c >= 0x41 && c <= 0x7A;
    const std::string_view marks = " ,-\":;()";
    return letter || (c >= '0' && c <= '9') || marks.find(static_cast<char>(c)) != std::string_view::npos;
}

void checkCleaned(std::string_view cleaned, const dactyla::ImportRules& rules) {
    require(cleaned.size() >= rules.minLength, "a cleaned sentence is long enough");
    require(dactyla::isTerminator(static_cast<std::uint8_t>(cleaned.back())), "it ends with its terminator");
    unsigned run = 0;
    for (std::size_t k = 0; k + 1 < cleaned.size(); ++k) {
        const auto c = static_cast<std::uint8_t>(cleaned[k]);
        require(isTypeable(rules.russian, c), "only typeable characters are left");
        require(!(c == ' ' && k > 0 && cleaned[k - 1] == ' '), "no two spaces in a row");
        if (c != ' ') run = dactyla::isCapital(rules.russian, c) ? run + 1 : 0;
        require(run <= rules.maxCapitalRun, "no run of capitals over the limit");
    }
    require(cleaned.size() < 2 || cleaned[cleaned.size() - 2] != ' ', "no space before the terminator");
}

void fuzzNormalize(std::string bytes, const dactyla::ImportRules& rules) {
    const std::uint16_t length =
        dactyla::normalizeSentence(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size(), rules);
    require(length <= bytes.size(), "cleaning never lengthens");
    if (length > 0) checkCleaned(std::string_view(bytes).substr(0, length), rules);
}

void fuzzScan(const std::uint8_t* data, std::size_t size, const dactyla::ImportRules& rules) {
    static const dactyla::fuzz::ScratchDirectory scratch("import");
    scratch.write("source.txt", data, size);
    dactyla::SentenceImport import(scratch.path());
    const auto scan = import.scan(scratch.file("source.txt"), rules);
    require(scan.status == dactyla::ImportStatus::done, "a readable file scans");
    const std::string text = import.acceptedText().value_or("?");
    const std::string offsets = import.acceptedOffsets().value_or("");
    require(offsets.size() == 12 + 3 * std::size_t {scan.found}, "one offset per accepted sentence");
    require(offsets.substr(0, 12) == std::string(12, '\0'), "the offsets start with 12 zero bytes");
    dactyla::ImportRules cleaning = rules;
    if (cleaning.maxCapitalRun == 0) cleaning.maxCapitalRun = 1;
    std::size_t at = 0;
    for (std::uint32_t k = 0; k < scan.found; ++k) {
        const std::size_t entry = 12 + 3 * std::size_t {k};
        const std::size_t offset = static_cast<std::uint8_t>(offsets[entry]) |
                                   static_cast<std::uint8_t>(offsets[entry + 1]) << 8 |
                                   static_cast<std::uint8_t>(offsets[entry + 2]) << 16;
        require(offset == at, "each offset points at its sentence");
        const std::size_t end = text.find("\r\n", at);
        require(end != std::string::npos, "each sentence ends with CR LF");
        checkCleaned(std::string_view(text).substr(at, end - at), cleaning);
        at = end + 2;
    }
    require(at == text.size(), "nothing but the sentences");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const dactyla::ImportRules rules {(data[0] & 1) != 0, data[1], static_cast<std::uint16_t>(data[2] * 2), data[3]};
    data += 4;
    size -= 4;
    fuzzNormalize(std::string(reinterpret_cast<const char*>(data), size), rules);
    fuzzScan(data, size, rules);
    return 0;
}
