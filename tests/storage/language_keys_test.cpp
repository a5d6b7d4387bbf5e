// The shipped English language file against the program: every language key that the code asks
// for must have a text. The keys are collected from the source tree itself (string literals that
// are language keys, and the key, media, function and mouse tables), so a key added anywhere in
// the program without a text fails here.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/safe_format.h"
#include "model/key_action.h"
#include "model/key_table.h"
#include "model/lighting_state.h"
#include "storage/ini_file.h"
#include "storage/lang_text.h"

namespace tarnel {
namespace {

namespace fs = std::filesystem;

const std::string kLanguageFile = std::string(TARNEL_DATA_SOURCE_DIR) + "/Lang0409.ini";

// Language keys are grouped by prefix; a literal with one of these prefixes is a language key.
constexpr std::string_view kLanguagePrefixes[] = {
    "MAIN_",   "PROFILE_", "MACRO_",     "KEY_PROMPT_", "IDS_",       "MEDIA_",
    "FUNC_KEY_DESC", "EXTRA_", "DEFAULT_", "UNKNOWN_KEY", "MAGIC_",   "MENU_",
    "LANG_",   "GUANYU_",  "A_",         "COMPOSITE_",  "KEYBOARD_",  "SINGLE_",
    "MULTI_",  "FUNCTION_", "KEY_SETTING_TISHI", "RECORD_DELAY",
};
// Skin entries (control names of a skin file) that happen to share a language prefix.
const std::set<std::string, std::less<>> kSkinEntries = {"MEDIA_SETTING_TISHI",
                                                          "FUNCTION_KEY_SETTING_TISHI"};

bool isIdentChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// Upper-case first letter, words joined by underscores: "UNKNOWN_KEY", "MEDIA_Next_TRACK_5".
bool looksLikeKey(std::string_view s) {
    return s.size() >= 3 && s.front() >= 'A' && s.front() <= 'Z' &&
           s.find('_') != std::string_view::npos && s.back() != '_';
}

bool hasLanguagePrefix(std::string_view s) {
    if (kSkinEntries.count(s)) return false;
    for (std::string_view p : kLanguagePrefixes)
        if (s.substr(0, p.size()) == p) return true;
    return false;
}

// The name of the function whose call a literal at `pos` opens: `Light` for `x.Light("Deng")`.
std::string_view calleeOf(std::string_view text, size_t pos) {
    size_t i = pos;
    while (i > 0 && (text[i - 1] == ' ' || text[i - 1] == '\n' || text[i - 1] == '\t')) --i;
    if (i == 0 || text[i - 1] != '(') return {};
    size_t end = --i;
    while (i > 0 && isIdentChar(text[i - 1])) --i;
    return text.substr(i, end - i);
}

struct UsedKeys {
    std::set<std::string> text, light;
};

// Every "IDENT" literal of the sources: language keys by prefix or by a call of Text/Light.
void scanSource(std::string_view src, UsedKeys& keys) {
    for (size_t q = src.find('"'); q != std::string_view::npos; q = src.find('"', q + 1)) {
        size_t end = q + 1;
        while (end < src.size() && isIdentChar(src[end])) ++end;
        if (end >= src.size() || src[end] != '"' || end == q + 1) continue;
        const std::string_view literal = src.substr(q + 1, end - q - 1);
        const std::string_view callee = calleeOf(src, q);
        if (callee == "Light") {
            keys.light.emplace(literal);
        } else if (looksLikeKey(literal) && (callee == "Text" || hasLanguagePrefix(literal))) {
            keys.text.emplace(literal);
        }
    }
}

UsedKeys keysOfTheProgram() {
    UsedKeys keys;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(TARNEL_SOURCE_ROOT) / "src")) {
        const auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp" && ext != ".hpp")) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        scanSource(std::string(std::istreambuf_iterator<char>(in), {}), keys);
    }
    // The tables name their keys too; take them from the tables whatever their source looks like.
    for (const KeyTableEntry& row : keyTable())
        if (row.langKey && *row.langKey) keys.text.emplace(row.langKey);
    for (const MediaEntry& media : mediaList()) keys.text.emplace(media.langKey);
    for (const char* function : functionList()) keys.text.emplace(function);
    for (const MouseChoice& mouse : mouseChoices()) keys.text.emplace(mouse.langKey);
    return keys;
}

std::string missingIn(std::string_view section, const std::set<std::string>& keys) {
    const IniFile lang(kLanguageFile);
    std::string missing;
    for (const std::string& key : keys)
        if (lang.readString(section, key, "").empty()) missing += " " + key;
    return missing;
}

TEST(LanguageFile, HasATextForEveryKeyTheProgramAsksFor) {
    const UsedKeys keys = keysOfTheProgram();
    // The scan itself works: keys written as literals in the keyboard model are found.
    ASSERT_TRUE(keys.text.count("UNKNOWN_KEY"));
    ASSERT_TRUE(keys.text.count("KEY_PROMPT_SET"));
    EXPECT_EQ(missingIn(kLangSectionText, keys.text), "") << "keys without a text in section TEXT";
    EXPECT_EQ(missingIn(kLangSectionLight, keys.light), "") << "keys without a text in section LIGHT";
}

TEST(LanguageFile, NamesEveryLightingEffectTheToolKnows) {
    const LangText lang(TARNEL_DATA_SOURCE_DIR);
    int known = 0;
    for (int effect = 0; effect <= 255; ++effect) {
        if (!EffectInfoOf(effect).known) continue;
        ++known;
        const std::string name = lang.Mode(effect, 0);
        EXPECT_FALSE(name.empty() || name == kLangMissingText) << "effect " << effect;
    }
    EXPECT_GT(known, 0);
}

TEST(LanguageFile, PlaceholdersTakeTheArgumentsTheProgramGives) {
    const LangText lang(TARNEL_DATA_SOURCE_DIR);
    EXPECT_EQ(SafeFormatNumber(lang.Text("UNKNOWN_KEY", 0), 0x064), "Key 0x064");
    const std::string format = SafeFormat(lang.Text("PROFILE_FORMAT_ERROR", 0), {"/tmp/a.zkp"});
    EXPECT_NE(format.find("/tmp/a.zkp"), std::string::npos) << format;
    EXPECT_NE(SafeFormatNumber(lang.Text("MACRO_ERR_MAX", 0), 100).find("100"), std::string::npos);
    EXPECT_NE(SafeFormatNumber(lang.Text("MACRO_ACTION_ERR_DELAY_MAX", 0), 40000).find("40000"),
              std::string::npos);
}

// Every line is blank, a comment, a section or key=value; no key appears twice in a section (the
// second would never be read); only the three sections the program reads; and no text but the
// four with placeholders holds a '%'.
TEST(LanguageFile, IsWellFormed) {
    std::ifstream in(kLanguageFile, std::ios::binary);
    ASSERT_TRUE(in) << kLanguageFile;
    const std::set<std::string> withPlaceholder = {"UNKNOWN_KEY", "PROFILE_FORMAT_ERROR",
                                                   "MACRO_ERR_MAX", "MACRO_ACTION_ERR_DELAY_MAX"};
    std::map<std::string, std::set<std::string>> sections;
    std::string section, line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            ASSERT_EQ(line.back(), ']') << "line " << number;
            section = line.substr(1, line.size() - 2);
            ASSERT_TRUE(section == "TEXT" || section == "LIGHT" || section == "MODE") << section;
            ASSERT_FALSE(sections.count(section)) << "section " << section << " twice";
            sections[section];
            continue;
        }
        const size_t eq = line.find('=');
        ASSERT_NE(eq, std::string::npos) << "line " << number << ": " << line;
        ASSERT_FALSE(section.empty()) << "line " << number << " before any section";
        const std::string key = line.substr(0, eq);
        std::string folded = key;  // names match without regard to case
        for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(sections[section].insert(folded).second) << section << "/" << key << " twice";
        if (!withPlaceholder.count(key)) {
            EXPECT_EQ(line.find('%', eq), std::string::npos) << section << "/" << key;
        }
    }
    EXPECT_EQ(sections.size(), 3u);
}

}  // namespace
}  // namespace tarnel
