// One macro as the tool keeps it (MacroRecord with its MacroAction steps) and the macro list.
// In the profile image, the applied snapshot and profile files a record is a fixed block of
// 32512 bytes; WriteMacroRecord / ReadMacroRecord convert between the two forms byte by byte.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarnel {

inline constexpr size_t kMacroRecordSize = 0x7F00;  // 32512
inline constexpr size_t kMacroActionSize = 8;
inline constexpr int kMaxMacroActions = 4000;
inline constexpr int kMaxMacros = 100;
inline constexpr int kMaxMacroId = 100;
inline constexpr size_t kMaxMacroNameUnits = 249;  // the record keeps room for a terminator
inline constexpr uint32_t kMaxEditorDelayMs = 40000;

// Offsets inside the 32512-byte record.
inline constexpr size_t kMacroNameOffset = 0;      // UTF-16LE, zero-terminated, 250 units
inline constexpr size_t kMacroRepeatOffset = 500;  // u8
inline constexpr size_t kMacroIsNewOffset = 502;   // u16
inline constexpr size_t kMacroIdOffset = 506;      // u16
inline constexpr size_t kMacroCountOffset = 508;   // u16
inline constexpr size_t kMacroActionsOffset = 512;

enum MacroStepState : uint16_t { MacroPress = 0, MacroRelease = 1 };

// One step: wait delayMs after it before the next one.
struct MacroAction {
    uint32_t delayMs = 0;
    uint16_t keyId = 0;  // 0 when the step names no key
    uint16_t state = MacroPress;

    bool operator==(const MacroAction&) const = default;
};

struct MacroRecord {
    std::u16string name;
    uint8_t repeatCount = 1;  // 1..255
    uint16_t isNew = 0;       // 1 only inside the key-assignment editor's working list
    uint16_t macroId = 0;     // 1..100, unique in a list
    std::vector<MacroAction> actions;

    bool operator==(const MacroRecord&) const = default;
};

using MacroList = std::vector<MacroRecord>;

// The name as the record stores it: up to the first zero unit, at most 249 units (longer names
// are cut, since the record has room for 249 units and the terminator).
std::u16string_view StoredMacroName(const MacroRecord& record);
// The steps as the record stores them: at most the first 4000.
size_t StoredActionCount(const MacroRecord& record);

// The 32512-byte block of a record (unused steps and reserved fields zero).
void WriteMacroRecord(const MacroRecord& record, std::span<uint8_t, kMacroRecordSize> dest);
// A record from its block. A name without a terminator in its room is cut at 249 units;
// actionCount above 4000 is read as 4000.
MacroRecord ReadMacroRecord(std::span<const uint8_t, kMacroRecordSize> src);

// The macro blocks: `list.size()` records back to back (at most 100 are stored).
std::vector<uint8_t> MacroBlocksOf(const MacroList& list);
// The records of `count` blocks; the count is cut to 100 and to the whole blocks present.
MacroList MacroListOfBlocks(std::span<const uint8_t> blocks, size_t count);

}  // namespace tarnel
