#include "storage/profile_macro_codes.h"

#include "model/key_action.h"
#include "model/key_table.h"

namespace tarnel {
namespace {

uint8_t deviceCodeOf(uint16_t keyId) {
    const KeyTableEntry* entry = keyEntry(keyId);
    return entry ? entry->deviceCode : 0;
}

uint16_t keyIdOfCode(uint8_t group, uint8_t byte1, uint8_t byte2) {
    return KeyIdOfCode(DeviceKeyCode{group, byte1, byte2});
}

}  // namespace

const MacroKeyCodes& ProfileMacroCodes() {
    static const MacroKeyCodes codes{deviceCodeOf, keyIdOfCode};
    return codes;
}

}  // namespace tarnel
