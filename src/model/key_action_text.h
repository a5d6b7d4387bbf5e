// The key buttons' view of the key assignments: every G button and matrix key button of one
// profile's bank gets its assigned state and the one-line description of its record.
//
// Locks: the caller holds dataLock (the key area and the macro list belong to the profile image).
#pragma once
#include <cstdint>
#include <span>

#include "model/key_action.h"
#include "model/key_table.h"
#include "model/macro_record.h"

namespace tarnel {

class KeyButtonPort;

// A lookup of macro names by id over a copy of the list's names (UTF-8), so it stays valid when
// the list changes.
MacroNameLookup MacroNamesOf(std::span<const MacroRecord> list);

// Gives the nine G buttons (slots 256..264, named "G1".."G9") and the 106 matrix key buttons
// (named by their key's display name) of `bank` their state and text. False, nothing shown, for
// a bank outside 0..2 (an active profile that could not be read) or a short key area.
bool RefreshButtons(KeyButtonPort& port, std::span<const uint8_t> keyArea, int bank,
                    const LangLookup& lang, const MacroNameLookup& macroName);

// Zeroes the records of the G-button slots and of the 106 button slots of `bank`, shows those
// buttons unassigned and marks the window as changed. Every other slot of the bank (the second
// set of special keys among them) and every string is left as it is. False, nothing changed,
// for a bank outside 0..2 or a short key area.
bool ClearButtonAssignments(KeyButtonPort& port, std::span<uint8_t> keyArea, int bank,
                            const LangLookup& lang);

}  // namespace tarnel
