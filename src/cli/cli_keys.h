// The words of tarnelctl's arguments: keys (a key id, a skin name or the English key name),
// colours (RRGGBB) and FIELD=VALUE pairs.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/key_table.h"

namespace tarnel {

struct KeyRef {
    uint16_t keyId = 0;  // the key id of a matrix key; 0 for Fn and the G-keys
    int gKey = 0;        // 1..9 for G1..G9
    bool fn = false;
    std::string name;    // how output names it: the English name, "G3", "Fn"

    // The key's colour position (matrix position of its LED), -1 when it has none.
    int colorPosition() const;
    // Its record slot in a key bank (0..264), -1 for Fn (which takes no assignment).
    int slot() const;
    // The skin name: "KEY_01E", "FUNC_G3", "KEY_FN".
    std::string skinName() const;
};

// "0x01E" (key id), "KEY_01E" / "FUNC_G3" / "KEY_FN" (skin names), "G3", "Fn" or the key's name
// in `lang` ("A", "Num Enter", "right shift"); names and skin names in any case.
std::optional<KeyRef> ParseKey(const std::string& text, const LangLookup& lang);
// The name output shows for a matrix key (its English name).
KeyRef KeyRefOf(uint16_t keyId, const LangLookup& lang);

// "RRGGBB" (or "#RRGGBB") as red | green << 8 | blue << 16.
std::optional<uint32_t> ParseColor(const std::string& text);
// The colour as "RRGGBB".
std::string ColorText(uint32_t color);
std::string ColorText(uint8_t red, uint8_t green, uint8_t blue);

// "NAME=VALUE" split at the last '='; nothing when there is none or NAME is empty.
std::optional<std::pair<std::string, std::string>> SplitAssignment(const std::string& text);

// UTF-16 text as UTF-8 (an unpaired surrogate becomes U+FFFD).
std::string Utf8Of(std::u16string_view text);

// ASCII lower case.
std::string Lower(std::string text);

}  // namespace tarnel
