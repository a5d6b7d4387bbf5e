#include "model/magic_fn.h"

#include <cstdint>

#include "devicelink/result.h"
#include "model/lighting_control.h"

namespace tarnel {

int WriteMagicFn(LightingControl& lighting, int choice) {
    // Only the two layouts exist; another byte would leave the keyboard's Fn layer undefined.
    if (choice != kMagicFn1 && choice != kMagicFn2) return kLightingBadValue;
    const uint8_t byte[1] = {uint8_t(choice)};
    int result = lighting.WriteLightingBytes(OffMagicFn, byte);
    if (result == ResultOk) lighting.setMagicFnChoice(choice);
    return result;
}

}  // namespace tarnel
