#include "storage/lang_text.h"

#include "common/safe_format.h"
#include "storage/ini_file.h"

namespace tarnel {
namespace {

// Chinese (Hong Kong) is offered the texts of Chinese (PRC).
constexpr uint32_t kLanguageHongKong = 0x0C04;
constexpr uint32_t kLanguageChinese = 0x0804;

bool inTable(uint32_t id) {
    for (uint32_t entry : kLanguageTable)
        if (entry != 0 && entry == id) return true;
    return false;
}

}  // namespace

std::string LanguageFileName(uint32_t languageId) {
    return SafeFormatNumber("Lang%04X.ini", static_cast<long long>(languageId));
}

uint32_t LanguageIdAt(int index) {
    if (index < 0 || index >= static_cast<int>(kLanguageTable.size()) ||
        kLanguageTable[static_cast<size_t>(index)] == 0)
        return kLanguageTable[0];
    return kLanguageTable[static_cast<size_t>(index)];
}

LangText::LangText(std::string programDir) : m_dir(std::move(programDir)) {
    if (!m_dir.empty() && m_dir.back() != '/' && m_dir.back() != '\\') m_dir += '/';
}

std::string LangText::FilePath(int languageIndex) const {
    return m_dir + LanguageFileName(LanguageIdAt(languageIndex));
}

std::string LangText::Lookup(std::string_view section, std::string_view key, int languageIndex) const {
    return IniFile(FilePath(languageIndex)).readString(section, key, kLangMissingText);
}

std::string LangText::Text(std::string_view key, int languageIndex) const {
    return Lookup(kLangSectionText, key, languageIndex);
}

std::string LangText::Light(std::string_view key, int languageIndex) const {
    return Lookup(kLangSectionLight, key, languageIndex);
}

std::string LangText::Mode(int effectNumber, int languageIndex) const {
    return Lookup(kLangSectionMode, std::to_string(effectNumber), languageIndex);
}

uint32_t GetLanguageId(SettingsStore& store, uint32_t systemLanguageId) {
    const auto stored = store.readNumber(kLanguageIdSection, kLanguageIdName);
    if (!stored) store.writeNumber(kLanguageIdSection, kLanguageIdName, 0);
    if (stored && *stored != 0) return *stored;

    uint32_t id = systemLanguageId == kLanguageHongKong ? kLanguageChinese : systemLanguageId;
    if (!inTable(id)) id = kFallbackLanguageId;
    store.writeNumber(kLanguageIdSection, kLanguageIdName, id);
    return id;
}

int GetLanguageIndex(SettingsStore& store, uint32_t systemLanguageId) {
    const uint32_t id = GetLanguageId(store, systemLanguageId);
    for (size_t i = 0; i < kLanguageTable.size(); ++i)
        if (kLanguageTable[i] != 0 && kLanguageTable[i] == id) return static_cast<int>(i);
    return 0;
}

}  // namespace tarnel
