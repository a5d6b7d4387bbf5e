#include "storage/profile_slots.h"

#include "common/safe_format.h"

namespace tarnel {

std::string SlotDisplayName(int slot) {
    if (!IsSlot(slot)) return {};
    return SafeFormatNumber("$Profile%d", slot);
}

std::string SlotCachePath(const std::string& userDataDir, int slot) {
    if (!IsSlot(slot)) return {};
    return userDataDir + "/" + SlotDisplayName(slot);
}

}  // namespace tarnel
