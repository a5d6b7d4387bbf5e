// Writes the applied snapshot's key assignments and macros into the keyboard: the macro area
// (shared by the three onboard profiles) and one or all three key tables, as one write group
// (command 1, command 10, command 8 per profile, command 2).
//
// Locks: the caller holds dataLock and appliedLock (in that order) for the whole call; the
// command set takes the transaction lock inside them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace tarnel {

class CommandSet;
class Prompter;

// The part of the applied snapshot the keyboard gets: the four key banks (kKeyAreaSize bytes,
// records of kind 3 and 6 holding string offsets) and the macro blocks (macroCount records of
// kMacroRecordSize bytes, in list order).
struct AppliedRecords {
    std::span<const uint8_t> keyArea;
    std::span<const uint8_t> macroBlocks;
    size_t macroCount = 0;
};

// The keyboard being written and what the writer needs to know of it. Every reference must
// outlive the call.
struct KeyboardTarget {
    CommandSet& commands;                    // over the command connection; gives model and profile
    Prompter& prompter;                      // EXTRA_MACRO_TOO_LONG, EXTRA_PROFILE_SPACE_TIGHT
    std::span<const uint8_t> defaultMatrix;  // the factory key table (keyTableSize bytes or more)
    size_t macroCapacity = 0;                // bytes of macro memory (information block byte 11 x 128)
};

inline constexpr const char* kMacroTooLongKey = "EXTRA_MACRO_TOO_LONG";
inline constexpr const char* kProfileSpaceTightKey = "EXTRA_PROFILE_SPACE_TIGHT";

// Writes the macro area and the key tables of profiles 0..2 (`allProfiles`) or of the active
// profile only. 1 when the macro-area write and every key-table write succeeded, else 0.
//
// - A list whose area without names exceeds the capacity: EXTRA_MACRO_TOO_LONG (topmost), 0,
//   nothing written. One that fits only without names is written without them, and
//   EXTRA_PROFILE_SPACE_TIGHT follows the writes.
// - A single-profile write while the active profile cannot be read, a key area or factory
//   table too short to encode, or an area that cannot be built: 0, nothing written.
int WriteToKeyboard(const KeyboardTarget& target, const AppliedRecords& records, bool allProfiles);

}  // namespace tarnel
