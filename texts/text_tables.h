#pragma once
// The interface texts of every language the program speaks, one table per language, made at
// build time from resources/texts/<tag>.txt (tools/make_texts.py). A third language is a third
// file with the same keys.
#include <cstddef>
#include <span>
#include <string_view>

namespace dactyla::texts {

struct TextEntry {
    std::string_view key;
    std::string_view text;  // CP1251
};

struct TextTable {
    std::string_view tag;        // as Interface.txt stores it: "ru", "en"
    unsigned windowsLanguage;    // LANGID: 0x0419, 0x0409
    const TextEntry* entries;    // sorted by key
    std::size_t count;

    std::span<const TextEntry> all() const { return {entries, count}; }
};

// Every table; the first is the program's own language, the one its resources are written in.
std::span<const TextTable> textTables();

}  // namespace dactyla::texts
