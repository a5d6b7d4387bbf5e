// The keyboard's key identifiers and the constant tables over them: the 256-row key table, the
// virtual-key map, the main window's key buttons (control id, key id, LED index), the G-keys and
// Fn, display names and skin entry names.
//
// A key id is the key's make scan code (set 1); keys with the E0 prefix have 0x100 added. The
// key table has one row per possible scan code: rows 0..127 the plain codes, 128..255 the
// E0-prefixed ones. All lookups are pure functions over constant data.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace tarnel {

// Returns the current language's text of a language key; empty when the key has no text.
using LangLookup = std::function<std::string(std::string_view langKey)>;

struct KeyTableEntry {
    uint8_t virtualKey;     // the platform's virtual-key code
    uint16_t keyCode16;     // position in the macro step editor's key list; 0xFFFF = empty row
    uint8_t altVirtualKey;  // second virtual-key code (keypad navigation), else = virtualKey
    uint8_t deviceCode;     // the code the keyboard stores for the key; 0 = none
    const char* langKey;    // language key of the display name; "" = none
};

inline constexpr int kKeyTableRows = 256;
inline constexpr uint16_t kEmptyCode16 = 0xFFFF;

// The whole table, indexed by row.
const std::array<KeyTableEntry, kKeyTableRows>& keyTable();

// Row of a key id: id < 0x100 gives id, 0x100..0x1FF gives (id - 128) & 0xFF; -1 for 0x200 and
// above (not a key id).
int keyTableRow(uint32_t keyId);
// Key id of a row 0..255: the row itself below 128, row + 128 from 128 on; 0 outside 0..255.
uint16_t keyIdOfRow(int row);
// The entry of a key id's row, or nullptr when the number is not a key id.
const KeyTableEntry* keyEntry(uint32_t keyId);

// Key id of the first row (from row 0 up) whose keyCode16 is `code`; 0 if none.
uint16_t keyIdOfCode16(uint16_t code);
// keyCode16 of the key's row; 0xFFFF when the number is not a key id.
uint16_t code16OfKey(uint32_t keyId);

// Display name: the language text of the row's langKey; when the row has none or its text is
// empty, the text of "UNKNOWN_KEY" with the key id (16 bits) as its one integer argument.
std::string keyDisplayName(uint32_t keyId, const LangLookup& lang);
// The same name copied into a caller's buffer of `capacity` chars (UTF-8, terminated). A name
// that does not fit is cut at a character boundary. Returns the number of chars copied.
size_t keyDisplayName(uint32_t keyId, const LangLookup& lang, char* buffer, size_t capacity);
// Language text of the first row whose keyCode16 is `code`; empty if none or no language key.
std::string code16DisplayName(uint16_t code, const LangLookup& lang);

// Virtual-key map: key id of the key a virtual-key code stands for, 0 for an unmapped code.
// The generic Shift, Ctrl and Alt codes give the left-hand keys.
uint16_t keyIdOfVirtualKey(uint32_t virtualKey);

// One matrix key button of the main window.
struct KeyButton {
    int controlId;
    uint16_t keyId;
    int ledIndex;  // position of the key's colour (3 bytes) in a profile's per-key colour block
};

inline constexpr int kKeyButtonCount = 106;
// The main window's key order: entry i is the i-th key button.
std::span<const KeyButton, kKeyButtonCount> keyButtons();

inline constexpr int kGKeyCount = 9;
inline constexpr std::array<int, kGKeyCount> kGKeyControls{1000, 1001, 1002, 1003, 1004,
                                                           1140, 1141, 1142, 1143};
inline constexpr uint16_t kFirstGKeyId = 0x100;  // G1; G-key n has 0x100 + n - 1
inline constexpr int kGKeyLedIndex = 125;        // shared by all nine
inline constexpr int kFnControl = 1174;
inline constexpr int kFnLedIndex = 116;  // Fn has no key id; it only takes part in colour painting

// LED index of a matrix-key control; 0 for any other control (the Fn control included).
int ledIndexOfControl(int controlId);
// 125 for the nine G-key controls, 0 otherwise.
int gKeyLedIndex(int controlId);
// G-key number 1..9 of a control, 0 when it is no G-key control.
int gKeyNumberOfControl(int controlId);
// Key id of a matrix-key or G-key control; 0 for any other control.
uint16_t keyIdOfControl(int controlId);
// Control of a matrix key or G-key id; 0 when the key has no button.
int controlOfKeyId(uint32_t keyId);

// Skin entry names in section "BUTTONINFO": "KEY_%03X" with the key's row for a matrix key,
// "FUNC_G%d" for G-key n, "KEY_FN" for Fn.
std::string keySkinName(uint32_t keyId);
std::string gKeySkinName(int gKeyNumber);
inline constexpr std::string_view kFnSkinName = "KEY_FN";
// Skin name of any key-button control (matrix, G-key or Fn); empty for other controls.
std::string skinNameOfControl(int controlId);

// Cuts a UTF-8 text so that it needs at most `maxUnits` UTF-16 units, at a character boundary.
void truncateToUtf16Units(std::string& text, size_t maxUnits);

}  // namespace tarnel
