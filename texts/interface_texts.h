#pragma once
// The language the program speaks now, and its texts. One process-wide choice, set by the shell
// from the current user's choice (and, before any user exists, from the language of Windows);
// everything that shows a text asks for it here by its key.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "texts/text_tables.h"

namespace dactyla::texts {

const TextTable& ownLanguage();  // Russian: the language of the resources
const TextTable& currentLanguage();
bool speaksOwnLanguage();
// False, changing nothing, when no table has the tag.
bool chooseLanguage(std::string_view tag);
// The language after the current one, round the table order: the one the switch offers.
const TextTable& nextLanguage();
std::vector<std::string> languageTags();
// The table for a Windows interface language (matched by its primary language), if any.
const TextTable* languageForWindows(unsigned windowsLanguage);

std::optional<std::string_view> findText(const TextTable& table, std::string_view key);
// The current language's text; the own language's where the current lacks one; empty if neither.
std::string_view text(std::string_view key);
inline std::string textString(std::string_view key) { return std::string(text(key)); }
// The same as a C string: every text is a whole literal, so it ends in a NUL.
inline const char* textC(std::string_view key) { return text(key).data(); }

}  // namespace dactyla::texts
