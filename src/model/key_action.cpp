#include "model/key_action.h"

#include <algorithm>

#include "common/le_bytes.h"
#include "model/macro_area.h"

namespace tarnel {
namespace {

constexpr uint8_t kGroupMouse = 0x01;
constexpr uint8_t kGroupKeyboard = 0x02;
constexpr uint8_t kGroupConsumer = 0x03;
constexpr uint8_t kGroupSystem = 0x04;
constexpr uint8_t kGroupFunction = 0x05;
constexpr uint8_t kGroupSpecial = 0x06;

constexpr uint8_t kMouseButtons = 0x01;
constexpr uint8_t kMouseWheel = 0x05;
constexpr uint8_t kModifiers = 0x01;
constexpr uint8_t kUsage = 0x02;
constexpr uint8_t kPlayMacro = 0x01;
constexpr uint8_t kStopMacro = 0x02;
constexpr uint8_t kKeyboardFunction = 0x05;
constexpr uint8_t kFunction29 = 0x29;
constexpr uint8_t kSpecialKey = 0xA2;

constexpr DeviceKeyCode kNoFunction{};

// The eight modifier keys by their bit in a 02 01 m code.
constexpr uint16_t kModifierKeys[8] = {
    0x01D,  // 0x01 left Ctrl
    0x02A,  // 0x02 left Shift
    0x038,  // 0x04 left Alt
    0x15B,  // 0x08 left Win
    0x11D,  // 0x10 right Ctrl
    0x036,  // 0x20 right Shift
    0x138,  // 0x40 right Alt
    0x15C,  // 0x80 right Win
};

struct MouseCode {
    uint16_t keyId;
    uint8_t byte1;
    uint8_t byte2;
};
constexpr MouseCode kMouseCodes[] = {
    {0x171, kMouseButtons, 0x01},  // left button
    {0x172, kMouseButtons, 0x02},  // right button
    {0x173, kMouseButtons, 0x04},  // middle button
    {0x161, kMouseWheel, 0x01},    // wheel up
    {0x162, kMouseWheel, 0xFF},    // wheel down
};

// index: key id, language key of the key's name, consumer usage written
constexpr MediaEntry kMediaList[kMediaCount] = {
    {0x16D, "MEDIA_PALYER_1", 0x0183},         // 0
    {0x122, "MEDIA_PALY_PAUSE_2", 0x00CD},     // 1
    {0x124, "MEDIA_STOP_PALY_3", 0x00B7},      // 2
    {0x110, "MEDIA_PREV_TRACK_4", 0x00B6},     // 3
    {0x119, "MEDIA_Next_TRACK_5", 0x00B5},     // 4
    {0x12E, "MEDIA_V_LOW_6", 0x00EA},          // 5
    {0x130, "MEDIA_V_ADD_7", 0x00E9},          // 6
    {0x120, "MEDIA_MUTE_8", 0x00E2},           // 7
    {0x132, "MEDIA_WWW_HOME_9", 0x0223},       // 8
    {0x167, "MEDIA_WWW_REFRESH_10", 0x0227},   // 9
    {0x168, "MEDIA_WWW_STOP_11", 0x0226},      // 10
    {0x16A, "MEDIA_WWW_BACK_12", 0x0224},      // 11
    {0x169, "MEDIA_WWW_FORWARD_13", 0x0225},   // 12
    {0x166, "MEDIA_WWW_FAVORITE_14", 0x022A},  // 13
    {0x165, "MEDIA_WWW_SEARCH_15", 0x0221},    // 14
    {0x16B, "MEDIA_MY_PC_16", 0x0194},         // 15
    {0x121, "MEDIA_CALC_17", 0x0192},          // 16
    {0x16C, "MEDIA_MAIL_18", 0x018A},          // 17
};

// Function index i is shown as FUNC_KEY_DESC(i + 1).
constexpr const char* kFunctionList[kFunctionCount] = {
    "FUNC_KEY_DESC1",   // 0
    "FUNC_KEY_DESC2",   // 1
    "FUNC_KEY_DESC3",   // 2
    "FUNC_KEY_DESC4",   // 3
    "FUNC_KEY_DESC5",   // 4
    "FUNC_KEY_DESC6",   // 5
    "FUNC_KEY_DESC7",   // 6
    "FUNC_KEY_DESC8",   // 7
    "FUNC_KEY_DESC9",   // 8
    "FUNC_KEY_DESC10",  // 9
    "FUNC_KEY_DESC11",  // 10
};

constexpr MouseChoice kMouseChoices[kMouseChoiceCount] = {
    {"IDS_KEYBOARD_MOU_LEFT", 0x171},    // 0
    {"IDS_KEYBOARD_MOU_RIGHT", 0x172},   // 1
    {"IDS_KEYBOARD_MOU_MIDDLE", 0x173},  // 2
    {"IDS_KEYBOARD_ROLL_UP", 0x161},     // 3
    {"IDS_KEYBOARD_ROLL_DOWN", 0x162},   // 4
};

// Consumer usage i is what the key with deviceCode 0xC0 + i stands for.
constexpr uint16_t kConsumerCodes[kConsumerCodeCount] = {
    0x00E9,  // 0
    0x00EA,  // 1
    0x0183,  // 2
    0x018A,  // 3
    0x0192,  // 4
    0x0194,  // 5
    0x0221,  // 6
    0x0223,  // 7
    0x0224,  // 8
    0x0225,  // 9
    0x0226,  // 10
    0x0227,  // 11
    0x022A,  // 12
    0x00E2,  // 13
    0x00CD,  // 14
    0x00B7,  // 15
    0x00B6,  // 16
    0x00B5,  // 17
    // entries 18..31 are 0
};

constexpr uint8_t kPowerCode = 0x81;
constexpr uint8_t kWakeCode = 0x83;

// A deviceCode that is a keyboard usage: not "none", not a system key, not a mouse code.
bool isKeyboardUsage(uint8_t code) {
    return code != 0x00 && code != 0xFF && !(code >= kPowerCode && code <= kWakeCode) &&
           !(code >= 0xF1 && code <= 0xF8);
}

// Key id of the first key table row whose deviceCode is `code`; 0 when none (or code is 0).
uint16_t keyIdOfDeviceCode(uint8_t code) {
    if (code == 0) return 0;
    const auto& table = keyTable();
    for (int row = 0; row < kKeyTableRows; ++row)
        if (table[size_t(row)].deviceCode == code) return keyIdOfRow(row);
    return 0;
}

uint16_t modifierOfBits(uint8_t bits) {
    for (int bit = 0; bit < 8; ++bit)
        if (bits & (1u << bit)) return kModifierKeys[bit];
    return 0;
}

int mediaIndexOfUsage(uint16_t usage) {
    for (int i = 0; i < kMediaCount; ++i)
        if (kMediaList[i].usage == usage) return i;
    return -1;
}

KeyAction withKind(uint16_t kind, uint32_t value = 0) {
    KeyAction a;
    a.kind = kind;
    a.value = value;
    return a;
}

KeyAction decodeFunctionGroup(const DeviceKeyCode& c) {
    switch (c.byte1) {
        // The keyboard numbers macros from 0 in area order; macro ids start at 1.
        case kPlayMacro: return withKind(KindMacro, c.byte2 + 1u);
        case kStopMacro: return withKind(KindStopMacro);
        case kKeyboardFunction: return withKind(KindFunction, c.byte2);
        case kFunction29: return withKind(Kind29, c.byte2);
        default: return withKind(KindDisabled);
    }
}

// Mouse codes other than the three buttons and the two wheel steps name no key: they read as
// KindDisabled rather than as a key record with an undefined value.
KeyAction decodeMouseGroup(const DeviceKeyCode& c) {
    for (const auto& m : kMouseCodes)
        if (m.byte1 == c.byte1 && m.byte2 == c.byte2) return withKind(KindKey, m.keyId);
    return withKind(KindDisabled);
}

// A modifier code without any bit set names no key either: KindDisabled, not a key record
// for key id 0. Nor does a usage whose key has no code of its own to write (the system keys'
// 0x81..0x83: their record writes 02 02 00, "usage 0"), so a read 02 02 81 is not shown as
// Power and then silently written as another code on the next apply.
KeyAction decodeKeyboardGroup(const DeviceKeyCode& c) {
    uint16_t key = 0;
    if (c.byte1 == kUsage) {
        key = KeyIdOfCode(c);
        if (key && CodeOfKeyId(key) == DeviceKeyCode{kGroupKeyboard, kUsage, 0}) key = 0;
    } else if (c.byte1 == kModifiers) {
        key = modifierOfBits(c.byte2);
    }
    return key ? withKind(KindKey, key) : withKind(KindDisabled);
}

}  // namespace

void KeyAction::encode(std::span<uint8_t, kKeyActionSize> dest) const {
    putLe16(dest.data(), kind);
    putLe16(dest.data() + 2, param);
    putLe32(dest.data() + 4, value);
    std::copy(reserved.begin(), reserved.end(), dest.begin() + 8);
}

KeyAction KeyAction::decode(std::span<const uint8_t, kKeyActionSize> src) {
    KeyAction a;
    a.kind = getLe16(src.data());
    a.param = getLe16(src.data() + 2);
    a.value = getLe32(src.data() + 4);
    std::copy(src.begin() + 8, src.end(), a.reserved.begin());
    return a;
}

DeviceKeyCode DeviceKeyCode::at(std::span<const uint8_t> table, int position) {
    if (position < 0 || size_t(position) * 3 + 3 > table.size()) return {};
    const uint8_t* p = table.data() + size_t(position) * 3;
    return {p[0], p[1], p[2]};
}

void DeviceKeyCode::storeAt(std::span<uint8_t> table, int position) const {
    if (position < 0 || size_t(position) * 3 + 3 > table.size()) return;
    uint8_t* p = table.data() + size_t(position) * 3;
    p[0] = group;
    p[1] = byte1;
    p[2] = byte2;
}

int SlotOfKey(uint32_t keyId) {
    if (keyId < 0x100) return int(keyId);
    if (keyId < 0x200) return int((keyId & 0xFF) + 0x80);
    // Special keys: number - 0x100. Larger numbers would index past the bank.
    uint32_t slot = keyId - 0x100;
    return slot < uint32_t(kBankSlots) ? int(slot) : 0;
}

uint16_t KeyOfSlot(int slot) {
    if (slot < 0 || slot > 255) return 0;
    return uint16_t(slot < 128 ? slot : slot + 0x80);
}

int RecordOf(int bank, int slot) {
    if (bank < 0 || bank >= kKeyBanks || slot < 0 || slot >= kBankSlots) return -1;
    return bank * kBankSlots + slot;
}

uint16_t KeyIdOfCode(const DeviceKeyCode& code) {
    switch (code.group) {
        case kGroupKeyboard:
            if (code.byte1 == kUsage) return keyIdOfDeviceCode(code.byte2);
            return modifierOfBits(code.byte2);
        case kGroupConsumer: {
            uint16_t usage = uint16_t(code.byte1 | code.byte2 << 8);
            // Usage 0 means "no control"; the zero padding of the consumer table names no key.
            if (usage == 0) return 0;
            for (int i = 0; i < kConsumerCodeCount; ++i)
                if (kConsumerCodes[i] == usage) return keyIdOfDeviceCode(uint8_t(0xC0 + i));
            return 0;
        }
        case kGroupSystem: {
            uint16_t usage = uint16_t(code.byte1 | code.byte2 << 8);
            if (usage >= kPowerCode && usage <= kWakeCode) return keyIdOfDeviceCode(uint8_t(usage));
            return 0;
        }
        case kGroupSpecial:
            // Special keys are numbered from 1: n = 0 would name 0x1FF, which lies in the key-id
            // range and would give the position a stray slot of the extended rows' range.
            if (code.byte1 == kSpecialKey && code.byte2 != 0)
                return uint16_t(kFirstSpecialKeyNumber - 1 + code.byte2);
            return 0;
        default: return 0;
    }
}

DeviceKeyCode CodeOfKeyId(uint32_t keyId) {
    for (int bit = 0; bit < 8; ++bit)
        if (kModifierKeys[bit] == keyId) return {kGroupKeyboard, kModifiers, uint8_t(1u << bit)};
    for (const auto& m : kMouseCodes)
        if (m.keyId == keyId) return {kGroupMouse, m.byte1, m.byte2};
    const KeyTableEntry* e = keyEntry(keyId);
    uint8_t usage = e && isKeyboardUsage(e->deviceCode) ? e->deviceCode : 0;
    return {kGroupKeyboard, kUsage, usage};
}

KeyAction ReadKeyAction(std::span<const uint8_t> keyArea, int record) {
    if (record < 0 || (size_t(record) + 1) * kKeyActionSize > keyArea.size()) return {};
    return KeyAction::decode(
        keyArea.subspan(size_t(record) * kKeyActionSize).first<kKeyActionSize>());
}

bool WriteKeyAction(std::span<uint8_t> keyArea, int record, const KeyAction& action) {
    if (record < 0 || (size_t(record) + 1) * kKeyActionSize > keyArea.size()) return false;
    action.encode(keyArea.subspan(size_t(record) * kKeyActionSize).first<kKeyActionSize>());
    return true;
}

bool ClearBank(std::span<uint8_t> keyArea, int bank) {
    if (bank < 0 || bank >= kKeyBanks || keyArea.size() < kKeyAreaSize) return false;
    auto records = keyArea.subspan(size_t(bank) * kBankSlots * kKeyActionSize,
                                   size_t(kBankSlots) * kKeyActionSize);
    std::fill(records.begin(), records.end(), uint8_t(0));
    for (int i = 0; i < kSpecialKeyCount; ++i) {
        KeyAction special;
        // Special keys 1..9 carry 0x0301..0x0309, keys 10..18 carry 0x1301..0x1309.
        special.param = uint16_t((i < 9 ? 0x0301 : 0x1301) + i % 9);
        WriteKeyAction(keyArea, RecordOf(bank, kFirstSpecialSlot + i), special);
    }
    return true;
}

KeyAction DecodeKeyCode(const DeviceKeyCode& code) {
    switch (code.group) {
        case kGroupFunction: return decodeFunctionGroup(code);
        case kGroupConsumer: {
            int media = mediaIndexOfUsage(uint16_t(code.byte1 | code.byte2 << 8));
            return media >= 0 ? withKind(KindMedia, uint32_t(media)) : withKind(KindDisabled);
        }
        case kGroupMouse: return decodeMouseGroup(code);
        case kGroupKeyboard: return decodeKeyboardGroup(code);
        default: return withKind(KindDisabled);  // 00, 04 (system keys), 06 and above
    }
}

DeviceKeyCode EncodeKeyAction(const KeyAction& action, const DeviceKeyCode& defaultCode,
                              std::span<const MacroRecord> macros) {
    switch (action.kind) {
        case KindDefault:
        case KindRunProgram: return defaultCode;  // the keyboard runs no program
        case KindDisabled:
        case KindTextBlock: return kNoFunction;  // nor types a text
        case KindKey: return CodeOfKeyId(action.value);
        case KindMacro: {
            int index = action.value <= uint32_t(kMaxMacroId) ? MacroIndexOfId(macros, int(action.value)) : 0;
            return {kGroupFunction, kPlayMacro, uint8_t(index)};
        }
        case KindStopMacro: return {kGroupFunction, kStopMacro, 0};
        case KindMedia: {
            // An index past the media list names no consumer usage: keep the factory code.
            if (action.value >= uint32_t(kMediaCount)) return defaultCode;
            uint16_t usage = kMediaList[action.value].usage;
            return {kGroupConsumer, uint8_t(usage), uint8_t(usage >> 8)};
        }
        case KindFunction:
            // The keyboard takes any function number a byte can hold (decoding yields them too);
            // a larger value has no code and keeps the factory code.
            if (action.value > 0xFF) return defaultCode;
            return {kGroupFunction, kKeyboardFunction, uint8_t(action.value)};
        case Kind29: return {kGroupFunction, kFunction29, uint8_t(action.value)};
        default: return defaultCode;  // a kind the keyboard has no code for
    }
}

bool DecodeKeyTable(std::span<uint8_t> keyArea, int bank, std::span<const uint8_t> table,
                    std::span<const uint8_t> defaultMatrix, int keyCount) {
    if (!ClearBank(keyArea, bank)) return false;
    int positions = int(std::min({size_t(std::max(keyCount, 0)), table.size() / 3,
                                  defaultMatrix.size() / 3}));
    for (int k = 0; k < positions; ++k) {
        DeviceKeyCode d = DeviceKeyCode::at(defaultMatrix, k);
        DeviceKeyCode t = DeviceKeyCode::at(table, k);
        if (t == d) continue;
        // Positions whose factory code names no key cannot hold an assignment.
        int slot = SlotOfKey(KeyIdOfCode(d));
        if (slot == 0) continue;
        int record = RecordOf(bank, slot);
        KeyAction action = ReadKeyAction(keyArea, record);  // keeps a special slot's param
        KeyAction decoded = DecodeKeyCode(t);
        action.kind = decoded.kind;
        action.value = decoded.value;
        WriteKeyAction(keyArea, record, action);
    }
    return true;
}

std::vector<uint8_t> EncodeKeyTable(std::span<const uint8_t> keyArea, int profile,
                                    std::span<const uint8_t> defaultMatrix,
                                    const KeyboardModel& model,
                                    std::span<const MacroRecord> macros) {
    size_t size = size_t(std::max(model.keyTableSize, 0));
    if (profile < 0 || profile >= kKeyBanks || keyArea.size() < kKeyAreaSize ||
        defaultMatrix.size() < size || size_t(std::max(model.keyCount, 0)) * 3 > size)
        return {};
    std::vector<uint8_t> buffer(defaultMatrix.begin(), defaultMatrix.begin() + ptrdiff_t(size));
    for (int k = 0; k < model.keyCount; ++k) {
        DeviceKeyCode d = DeviceKeyCode::at(defaultMatrix, k);
        int slot = SlotOfKey(KeyIdOfCode(d));
        if (slot == 0) continue;
        KeyAction action = ReadKeyAction(keyArea, RecordOf(profile, slot));
        EncodeKeyAction(action, d, macros).storeAt(buffer, k);
    }
    return buffer;
}

namespace {
uint8_t macroDeviceCodeOf(uint16_t keyId) {
    const KeyTableEntry* entry = keyEntry(keyId);
    return entry ? entry->deviceCode : 0;
}
uint16_t macroKeyIdOfCode(uint8_t group, uint8_t byte1, uint8_t byte2) {
    return KeyIdOfCode(DeviceKeyCode{group, byte1, byte2});
}
}  // namespace

// Macro steps name keys with the same codes as the key tables.
const MacroKeyCodes& KeyTableMacroCodes() {
    static const MacroKeyCodes codes{macroDeviceCodeOf, macroKeyIdOfCode};
    return codes;
}

std::span<const MediaEntry, kMediaCount> mediaList() {
    return std::span<const MediaEntry, kMediaCount>(kMediaList);
}

std::span<const char* const, kFunctionCount> functionList() {
    return std::span<const char* const, kFunctionCount>(kFunctionList);
}

std::span<const MouseChoice, kMouseChoiceCount> mouseChoices() {
    return std::span<const MouseChoice, kMouseChoiceCount>(kMouseChoices);
}

std::span<const uint16_t, kConsumerCodeCount> consumerCodeTable() {
    return std::span<const uint16_t, kConsumerCodeCount>(kConsumerCodes);
}

KeyActionText DescribeKeyAction(std::string_view buttonName, const KeyAction& action,
                                const LangLookup& lang, const MacroNameLookup& macroName) {
    auto text = [&](std::string_view key) { return lang ? lang(key) : std::string(); };
    KeyActionText out;
    out.text = buttonName;
    out.assigned = action.kind != KindDefault;
    if (out.assigned) {
        out.text += text("KEY_PROMPT_SET");
        switch (action.kind) {
            case KindKey:
                out.text += text("KEY_PROMPT_SINGLE") + keyDisplayName(action.value, lang) + ")";
                break;
            case KindMacro:
                out.text += text("KEY_PROMPT_MACRO") +
                            (macroName ? macroName(action.value) : std::string()) + ")";
                break;
            case KindMedia:
                // An index past the list names no key: the prompt is shown with an empty name.
                out.text += text("KEY_PROMPT_MEDIA") +
                            (action.value < uint32_t(kMediaCount)
                                 ? keyDisplayName(kMediaList[action.value].keyId, lang)
                                 : std::string()) +
                            ")";
                break;
            case KindFunction:
                out.text += text("KEY_PROMPT_FUNCTION") +
                            (action.value < uint32_t(kFunctionCount)
                                 ? text(kFunctionList[action.value])
                                 : std::string()) +
                            ")";
                break;
            default: break;
        }
    }
    truncateToUtf16Units(out.text, kKeyActionTextUnits);
    return out;
}

}  // namespace tarnel
