// Texts from the language file, and the choice of language.
//
// A text is looked up by section and key in the language file of the chosen language, read
// again at every lookup. A missing file or key gives "#Error"; a key present with an empty value
// gives an empty text. Texts are data: substitute placeholders with SafeFormat, never printf.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "storage/settings_store.h"

namespace tarnel {

inline constexpr std::string_view kLangMissingText = "#Error";
inline constexpr std::string_view kLangSectionText = "TEXT";
inline constexpr std::string_view kLangSectionLight = "LIGHT";
inline constexpr std::string_view kLangSectionMode = "MODE";

// The language table: index -> language id; 0 is an empty slot, which no language id matches.
inline constexpr std::array<uint32_t, 3> kLanguageTable = {0x0409, 0, 0};
inline constexpr uint32_t kFallbackLanguageId = 0x0409;

// The stored language choice: a 32-bit number at the top level of the tool's settings.
inline constexpr std::string_view kLanguageIdSection = "";
inline constexpr std::string_view kLanguageIdName = "dwLanguageId";

// "Lang" + the id as four upper-case hexadecimal digits + ".ini", e.g. "Lang0409.ini".
std::string LanguageFileName(uint32_t languageId);

// The table entry of `index`; an index outside the table, or one naming an empty slot, stands
// for index 0 (an empty slot has no file to read).
uint32_t LanguageIdAt(int index);

class LangText {
public:
    // `programDir` is the folder holding the language files (the data root).
    explicit LangText(std::string programDir);

    std::string Text(std::string_view key, int languageIndex) const;   // section TEXT
    std::string Light(std::string_view key, int languageIndex) const;  // section LIGHT
    std::string Mode(int effectNumber, int languageIndex) const;       // section MODE, key "12"
    std::string Lookup(std::string_view section, std::string_view key, int languageIndex) const;

    std::string FilePath(int languageIndex) const;

private:
    std::string m_dir;
};

// The language id in use. A stored id other than 0 is used as it is; otherwise the system's
// id is taken (0x0C04 counts as 0x0804) when the table holds it, else 0x0409, and is stored.
// A missing or unreadable stored value is first written as 0.
uint32_t GetLanguageId(SettingsStore& store, uint32_t systemLanguageId);

// The first table index whose id equals GetLanguageId, else 0.
int GetLanguageIndex(SettingsStore& store, uint32_t systemLanguageId);

}  // namespace tarnel
