#include "cli/cli_keys.h"

#include <charconv>

#include "cli/cli_options.h"
#include "model/key_action.h"

namespace tarnel {
namespace {

std::optional<unsigned> parseHex(const std::string& text, size_t maxDigits) {
    unsigned value = 0;
    if (text.empty() || text.size() > maxDigits) return std::nullopt;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value, 16);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// A key id that names a key of the table (a row with a name or a keyboard code).
bool isKey(uint32_t keyId) {
    const KeyTableEntry* entry = keyEntry(keyId);
    return entry && (*entry->langKey || entry->deviceCode);
}

std::optional<KeyRef> matrixKey(uint32_t keyId, const LangLookup& lang) {
    if (!isKey(keyId)) return std::nullopt;
    return KeyRefOf(uint16_t(keyId), lang);
}

KeyRef gKey(int number) {
    KeyRef key;
    key.gKey = number;
    key.name = "G" + std::to_string(number);
    return key;
}

KeyRef fnKey() {
    KeyRef key;
    key.fn = true;
    key.name = "Fn";
    return key;
}

}  // namespace

std::string Utf8Of(std::u16string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | c >> 6);
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | c >> 12);
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | c >> 18);
            out += char(0x80 | (c >> 12 & 0x3F));
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return text;
}

int KeyRef::colorPosition() const {
    if (fn) return kFnLedIndex;
    if (gKey) return kGKeyLedIndex;
    int control = controlOfKeyId(keyId);
    return control ? ledIndexOfControl(control) : -1;
}

int KeyRef::slot() const {
    if (fn) return -1;
    if (gKey) return kFirstSpecialSlot + gKey - 1;
    return SlotOfKey(keyId);
}

std::string KeyRef::skinName() const {
    if (fn) return std::string(kFnSkinName);
    if (gKey) return gKeySkinName(gKey);
    return keySkinName(keyId);
}

KeyRef KeyRefOf(uint16_t keyId, const LangLookup& lang) {
    KeyRef key;
    key.keyId = keyId;
    key.name = keyDisplayName(keyId, lang);
    return key;
}

std::optional<KeyRef> ParseKey(const std::string& text, const LangLookup& lang) {
    std::string lower = Lower(text);
    if (lower == "key_fn" || lower == "fn") return fnKey();
    for (const std::string prefix : {"func_g", "g"}) {
        if (!startsWith(lower, prefix)) continue;
        std::optional<int> n = ParseIntInRange(lower.substr(prefix.size()), 1, kGKeyCount);
        if (n) return gKey(*n);
    }
    if (startsWith(lower, "0x")) {
        std::optional<unsigned> id = parseHex(lower.substr(2), 3);
        return id ? matrixKey(*id, lang) : std::nullopt;
    }
    if (startsWith(lower, "key_")) {
        std::optional<unsigned> row = parseHex(lower.substr(4), 3);
        if (row && *row < unsigned(kKeyTableRows)) return matrixKey(keyIdOfRow(int(*row)), lang);
        return std::nullopt;
    }
    for (int row = 0; row < kKeyTableRows; ++row) {
        const KeyTableEntry& entry = keyTable()[size_t(row)];
        if (*entry.langKey && Lower(lang(entry.langKey)) == lower)
            return KeyRefOf(keyIdOfRow(row), lang);
    }
    return std::nullopt;
}

std::optional<uint32_t> ParseColor(const std::string& text) {
    std::string digits = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    if (digits.size() != 6) return std::nullopt;
    std::optional<unsigned> rgb = parseHex(digits, 6);
    if (!rgb) return std::nullopt;
    uint8_t red = uint8_t(*rgb >> 16), green = uint8_t(*rgb >> 8), blue = uint8_t(*rgb);
    return uint32_t(red) | uint32_t(green) << 8 | uint32_t(blue) << 16;
}

std::string ColorText(uint8_t red, uint8_t green, uint8_t blue) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (uint8_t byte : {red, green, blue}) {
        text += digits[byte >> 4];
        text += digits[byte & 0xF];
    }
    return text;
}

std::string ColorText(uint32_t color) {
    return ColorText(uint8_t(color), uint8_t(color >> 8), uint8_t(color >> 16));
}

std::optional<std::pair<std::string, std::string>> SplitAssignment(const std::string& text) {
    size_t eq = text.rfind('=');  // the value never holds one; a key name may ("=")
    if (eq == std::string::npos || eq == 0) return std::nullopt;
    return std::make_pair(text.substr(0, eq), text.substr(eq + 1));
}

}  // namespace tarnel
