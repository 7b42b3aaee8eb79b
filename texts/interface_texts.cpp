#include "texts/interface_texts.h"

#include <algorithm>

namespace dactyla::texts {
namespace {

// The one process-wide choice: an index into textTables().
std::size_t current = 0;

constexpr unsigned primaryLanguage(unsigned languageId) { return languageId & 0x3FF; }

}  // namespace

const TextTable& ownLanguage() { return textTables().front(); }

const TextTable& currentLanguage() { return textTables()[current]; }

bool speaksOwnLanguage() { return current == 0; }

bool chooseLanguage(std::string_view tag) {
    const auto tables = textTables();
    for (std::size_t k = 0; k < tables.size(); ++k) {
        if (tables[k].tag == tag) {
            current = k;
            return true;
        }
    }
    return false;
}

const TextTable& nextLanguage() {
    const auto tables = textTables();
    return tables[(current + 1) % tables.size()];
}

std::vector<std::string> languageTags() {
    std::vector<std::string> tags;
    for (const TextTable& table : textTables()) tags.emplace_back(table.tag);
    return tags;
}

const TextTable* languageForWindows(unsigned windowsLanguage) {
    for (const TextTable& table : textTables())
        if (primaryLanguage(table.windowsLanguage) == primaryLanguage(windowsLanguage)) return &table;
    return nullptr;
}

std::optional<std::string_view> findText(const TextTable& table, std::string_view key) {
    const auto entries = table.all();
    const auto found = std::lower_bound(entries.begin(), entries.end(), key,
                                        [](const TextEntry& entry, std::string_view wanted) { return entry.key < wanted; });
    if (found == entries.end() || found->key != key) return std::nullopt;
    return found->text;
}

std::string_view text(std::string_view key) {
    if (const auto found = findText(currentLanguage(), key)) return *found;
    return findText(ownLanguage(), key).value_or(std::string_view(""));
}

}  // namespace dactyla::texts
