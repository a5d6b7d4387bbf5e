// What one key does in one onboard profile (KeyAction, 16 bytes in the profile image's key area)
// and the keyboard's 3-byte code of one key position (DeviceKeyCode), with the conversions
// between a keyboard key table and the records: decode on reading, encode on applying.
//
// Key area: 4 banks of 512 records, bank p (0..2) for onboard profile p, bank 3 carried but not
// used; record number = bank * 512 + slot. Slots 0..255 are key table rows; slots 256..273 are
// the special keys (G keys) 1..18, whose `param` holds a fixed code.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "devicelink/keyboard_model.h"
#include "model/key_table.h"
#include "model/macro_record.h"

namespace tarnel {

enum KeyActionKind : uint16_t {
    KindDefault = 0,     // the position keeps its factory code
    KindDisabled = 1,    // 00 00 00
    KindKey = 2,         // value: key id of the key, modifier, mouse button or wheel step
    KindRunProgram = 3,  // value: 0 in the edited image, string offset in snapshots and files
    KindMacro = 4,       // value: macro id 1..100; param: the editor's repeat count
    KindStopMacro = 5,   // 05 02 00
    KindTextBlock = 6,   // as KindRunProgram, for a text; the keyboard gets 00 00 00
    KindMedia = 7,       // value: mediaList index 0..17
    KindFunction = 8,    // value: functionList index 0..10
    Kind29 = 29,         // value: the argument byte of 05 29 n
};

inline constexpr size_t kKeyActionSize = 16;
inline constexpr int kBankSlots = 512;
inline constexpr int kKeyBanks = 4;
inline constexpr int kProfileBanks = 3;  // banks 0..2 belong to the onboard profiles
inline constexpr int kKeyAreaRecords = kKeyBanks * kBankSlots;  // 2048
inline constexpr size_t kKeyAreaSize = size_t(kKeyAreaRecords) * kKeyActionSize;
// Where the key area starts in the profile image (after the header and identity block).
inline constexpr size_t kKeyAreaImageOffset = 0x40;

inline constexpr int kFirstSpecialSlot = 256;
inline constexpr int kSpecialKeyCount = 18;
inline constexpr int kGButtonSlotCount = 9;  // slots 256..264: the main window's G buttons
inline constexpr uint32_t kFirstSpecialKeyNumber = 0x200;  // special key n is 0x1FF + n

struct KeyAction {
    uint16_t kind = KindDefault;
    uint16_t param = 0;
    uint32_t value = 0;
    std::array<uint8_t, 8> reserved{};  // carried unchanged; 0 in every record the tool makes

    void encode(std::span<uint8_t, kKeyActionSize> dest) const;
    static KeyAction decode(std::span<const uint8_t, kKeyActionSize> src);
    bool operator==(const KeyAction&) const = default;
};

// The keyboard's code of one key position: group, then two bytes.
struct DeviceKeyCode {
    uint8_t group = 0;
    uint8_t byte1 = 0;
    uint8_t byte2 = 0;

    bool operator==(const DeviceKeyCode&) const = default;
    // Code of position k of a table (3 bytes at 3k); 00 00 00 past the table's end.
    static DeviceKeyCode at(std::span<const uint8_t> table, int position);
    // Stores the code at position k; nothing when the position lies past the table's end.
    void storeAt(std::span<uint8_t> table, int position) const;
};

// Record slot of a key id or special-key number; 0 (no key) for 0 and for numbers whose slot
// would lie outside a bank (0x300 and above).
int SlotOfKey(uint32_t keyId);
// Key id of a slot 0..255; 0 for any other slot.
uint16_t KeyOfSlot(int slot);
// Record number of a bank's slot; -1 when either is out of range.
int RecordOf(int bank, int slot);

// The key id (or special-key number) a keyboard code names; 0 when it names none.
uint16_t KeyIdOfCode(const DeviceKeyCode& code);
// The code written for a KindKey record with this key id.
DeviceKeyCode CodeOfKeyId(uint32_t keyId);

// One record of a key area (kKeyAreaSize bytes). Reading a record outside the area gives an
// all-zero record; writing one outside it does nothing and returns false.
KeyAction ReadKeyAction(std::span<const uint8_t> keyArea, int record);
bool WriteKeyAction(std::span<uint8_t> keyArea, int record, const KeyAction& action);

// Zeroes the bank's 512 records and gives the special slots their fixed codes (0x0301..0x0309,
// 0x1301..0x1309). False, nothing changed, for a bank outside 0..3 or a short area.
bool ClearBank(std::span<uint8_t> keyArea, int bank);

// The record a code read from the keyboard becomes (kind and value; anything the tool cannot
// name is KindDisabled).
KeyAction DecodeKeyCode(const DeviceKeyCode& code);
// The code written for a record at a position whose factory code is `defaultCode`. `macros` is
// the snapshot's macro list: KindMacro writes the list position of its macro id.
DeviceKeyCode EncodeKeyAction(const KeyAction& action, const DeviceKeyCode& defaultCode,
                              std::span<const MacroRecord> macros);

// Rebuilds a bank from one profile's table as read from the keyboard. A position is identified
// by the key its factory code (in `defaultMatrix`) names; positions whose code equals the
// factory code stay KindDefault. `keyCount` positions are read, bounded by both tables.
bool DecodeKeyTable(std::span<uint8_t> keyArea, int bank, std::span<const uint8_t> table,
                    std::span<const uint8_t> defaultMatrix, int keyCount);

// One profile's table (model.keyTableSize bytes) from the key area's bank `profile`, starting
// from the factory table. Empty when the profile, the area or the factory table is short.
std::vector<uint8_t> EncodeKeyTable(std::span<const uint8_t> keyArea, int profile,
                                    std::span<const uint8_t> defaultMatrix,
                                    const KeyboardModel& model,
                                    std::span<const MacroRecord> macros);

// The 18 media choices: the key whose name is shown and the consumer usage written.
struct MediaEntry {
    uint16_t keyId;
    const char* langKey;
    uint16_t usage;
};
inline constexpr int kMediaCount = 18;
std::span<const MediaEntry, kMediaCount> mediaList();

// The 11 keyboard functions, shown as FUNC_KEY_DESC1..FUNC_KEY_DESC11.
inline constexpr int kFunctionCount = 11;
std::span<const char* const, kFunctionCount> functionList();

// The key-assignment editor's 5 mouse choices.
struct MouseChoice {
    const char* langKey;
    uint16_t keyId;
};
inline constexpr int kMouseChoiceCount = 5;
std::span<const MouseChoice, kMouseChoiceCount> mouseChoices();

// Consumer usage i is what the key with deviceCode 0xC0 + i stands for (entries 18..31 are 0).
inline constexpr int kConsumerCodeCount = 32;
std::span<const uint16_t, kConsumerCodeCount> consumerCodeTable();

// The name of a macro id in the list being edited; empty when no macro has it.
using MacroNameLookup = std::function<std::string(uint32_t macroId)>;

struct KeyActionText {
    std::string text;
    bool assigned = false;
};

// Button text of a record: the name alone for KindDefault (unassigned), else the name, the
// KEY_PROMPT_SET text and what the key does. At most 259 UTF-16 units.
KeyActionText DescribeKeyAction(std::string_view buttonName, const KeyAction& action,
                                const LangLookup& lang, const MacroNameLookup& macroName);
inline constexpr size_t kKeyActionTextUnits = 259;

}  // namespace tarnel
