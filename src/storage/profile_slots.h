// The three onboard profiles' cache files in the user data folder: "$Profile0".."$Profile2",
// without extension; a slot's display name is its cache file's base name.
#pragma once
#include <string>

namespace tarnel {

inline constexpr int kSlotCount = 3;

// A slot index 0..2; anything else names no slot.
inline bool IsSlot(int slot) {
    return slot >= 0 && slot < kSlotCount;
}

// userDataDir + "/$Profile" + n; empty for a slot outside 0..2.
std::string SlotCachePath(const std::string& userDataDir, int slot);
// "$Profile" + n; empty for a slot outside 0..2.
std::string SlotDisplayName(int slot);

}  // namespace tarnel
