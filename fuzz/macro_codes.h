// The key codes macro steps use, from the tool's key table: the same lookups the model makes.
#pragma once
#include "model/key_action.h"
#include "model/key_table.h"
#include "model/macro_area.h"

namespace tarnel::fuzz {

inline uint8_t deviceCodeOfKey(uint16_t keyId) {
    const KeyTableEntry* e = keyEntry(keyId);
    return e ? e->deviceCode : 0;
}
inline uint16_t keyIdOfStepCode(uint8_t group, uint8_t byte1, uint8_t byte2) {
    return KeyIdOfCode(DeviceKeyCode{group, byte1, byte2});
}
inline const MacroKeyCodes kMacroCodes{deviceCodeOfKey, keyIdOfStepCode};

}  // namespace tarnel::fuzz
