#include "model/key_action_text.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model/key_button_port.h"

namespace tarnel {
namespace {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Macro names are UTF-16 as the user typed them; an unpaired surrogate shows as U+FFFD.
std::string utf8Of(std::u16string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        appendUtf8(out, c);
    }
    return out;
}

// The button slots of a bank: the G buttons first, then the matrix key buttons in window order.
struct ButtonSlot {
    int controlId;
    int slot;
    std::string name;
};

std::vector<ButtonSlot> buttonSlots(const LangLookup& lang) {
    std::vector<ButtonSlot> out;
    for (int i = 0; i < kGButtonSlotCount; ++i) {
        // Appended, not "G" + text: gcc 12 at -O3 warns wrongly about that concatenation.
        std::string name = "G";
        name += std::to_string(i + 1);
        out.push_back({kGKeyControls[size_t(i)], kFirstSpecialSlot + i, std::move(name)});
    }
    for (const KeyButton& b : keyButtons())
        out.push_back({b.controlId, SlotOfKey(b.keyId), keyDisplayName(b.keyId, lang)});
    return out;
}

bool usableBank(std::span<const uint8_t> keyArea, int bank) {
    return bank >= 0 && bank < kProfileBanks && keyArea.size() >= kKeyAreaSize;
}

}  // namespace

MacroNameLookup MacroNamesOf(std::span<const MacroRecord> list) {
    auto names = std::make_shared<std::map<uint32_t, std::string>>();
    // The first macro with an id names it, as everywhere else an id is looked up.
    for (const MacroRecord& r : list) names->emplace(r.macroId, utf8Of(StoredMacroName(r)));
    return [names](uint32_t id) {
        auto it = names->find(id);
        return it == names->end() ? std::string() : it->second;
    };
}

bool RefreshButtons(KeyButtonPort& port, std::span<const uint8_t> keyArea, int bank,
                    const LangLookup& lang, const MacroNameLookup& macroName) {
    if (!usableBank(keyArea, bank)) return false;
    for (const ButtonSlot& b : buttonSlots(lang)) {
        const KeyAction action = ReadKeyAction(keyArea, RecordOf(bank, b.slot));
        const KeyActionText t = DescribeKeyAction(b.name, action, lang, macroName);
        port.SetKeyButtonAssignment(b.controlId, t.assigned, t.text);
    }
    return true;
}

bool ClearButtonAssignments(KeyButtonPort& port, std::span<uint8_t> keyArea, int bank,
                            const LangLookup& lang) {
    if (!usableBank(keyArea, bank)) return false;
    for (const ButtonSlot& b : buttonSlots(lang)) {
        WriteKeyAction(keyArea, RecordOf(bank, b.slot), KeyAction{});
        port.SetKeyButtonAssignment(b.controlId, false,
                                    DescribeKeyAction(b.name, KeyAction{}, lang, {}).text);
    }
    port.SetApplyPending(1);
    return true;
}

}  // namespace tarnel
