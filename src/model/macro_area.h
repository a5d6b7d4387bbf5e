// The keyboard's macro area: every macro of the list, shared by the three onboard profiles,
// in one block written whole with command 10 and read with command 9.
//
// Layout (little-endian): magic 0x55AA, totalSize, entryCount n, hasNames, 8 zero bytes,
// n entry offsets (u16, from the start of the area), then the entries in list order. An entry
// is actionCount (u16), repeatCount (u8), nameLength (u8, UTF-16 units, 0 without names), the
// steps (4 bytes each: timing word, two code bytes) and the name without terminator.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "model/macro_record.h"

namespace tarnel {

inline constexpr uint16_t kMacroAreaMagic = 0x55AA;
inline constexpr size_t kMacroAreaHeaderSize = 16;
inline constexpr size_t kMacroEntryHeaderSize = 4;
inline constexpr size_t kMacroStepSize = 4;
// totalSize and the entry offsets are 16-bit: no area can be longer.
inline constexpr size_t kMaxMacroAreaSize = 0xFFFF;

// How steps name keys on the keyboard. The area stores a key as the three bytes of its
// keyboard code (group, byte 1, byte 2), with the group in bits 12-14 of the timing word.
struct MacroKeyCodes {
    // The key table's deviceCode of a key id; 0 where the key has no code.
    uint8_t (*deviceCodeOf)(uint16_t keyId) = nullptr;
    // The key id that a keyboard code names; 0 when it names none.
    uint16_t (*keyIdOfCode)(uint8_t group, uint8_t byte1, uint8_t byte2) = nullptr;
};

// The codes of the tool's key table (deviceCode of each key, and its reverse lookup).
const MacroKeyCodes& KeyTableMacroCodes();

struct MacroStepCode {
    uint8_t group = 0;
    uint8_t byte1 = 0;
    uint8_t byte2 = 0;
    bool operator==(const MacroStepCode&) const = default;
};

// The code a step writes for a key: the eight modifiers as 2/01/bit, keyboard usages as
// 2/02/usage, power, sleep and wake as 4/code/00, anything else (mouse buttons, wheel steps,
// keys without a code) as 0/00/00.
MacroStepCode StepCodeOfKey(uint16_t keyId, const MacroKeyCodes& codes = KeyTableMacroCodes());

// Area sizes of a list: `full` with names, `bare` without. Computed without any 16-bit limit,
// so a list too large for any keyboard shows as such.
struct MacroAreaSize {
    size_t full = 0;
    size_t bare = 0;
};
MacroAreaSize MacroAreaSizes(std::span<const MacroRecord> list);

// The area bytes of a list: `size` must be MacroAreaSizes' `full` when withNames, else its
// `bare`. An empty vector when `size` is not that size or exceeds kMaxMacroAreaSize (its
// totalSize and offsets could not be stored): nothing is ever written past `size` bytes.
std::vector<uint8_t> BuildMacroArea(std::span<const MacroRecord> list, size_t size,
                                    bool withNames,
                                    const MacroKeyCodes& codes = KeyTableMacroCodes());

// How many bytes to read from address 0 after reading the 16-byte header: totalSize when the
// magic is right and 16 <= totalSize <= capacity; else 0, which reads as an empty list.
size_t MacroAreaLength(std::span<const uint8_t> header, size_t capacity);

// The list held in the area bytes read from the keyboard. Macro ids are 1, 2, ... in area
// order and isNew is 0; a macro without a name gets `newPrefix` followed by its number.
// Every offset and count is bounded by the bytes read (and by totalSize): see the .cpp for what
// a malformed area gives.
MacroList DecodeMacroArea(std::span<const uint8_t> area, size_t capacity,
                          std::u16string_view newPrefix,
                          const MacroKeyCodes& codes = KeyTableMacroCodes());

// Position (0-based) of the first record whose macroId is `id`; 0 when none has it.
int MacroIndexOfId(std::span<const MacroRecord> list, int id);
// The smallest id 1..100 that no record uses; 0 when all 100 are taken.
int FreeMacroId(std::span<const MacroRecord> list);

}  // namespace tarnel
