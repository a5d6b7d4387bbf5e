// The two supported hardware models and the values that follow from the connected one.
#pragma once
#include <cstdint>

namespace tarnel {

struct KeyboardModel {
    char name;           // 'A' or 'B'
    uint16_t vendorId;
    uint16_t productId;
    int keyTableSize;    // bytes of one profile's key table
    int keyTableStride;  // address distance between the profiles' key tables
    int keyCount;        // key positions in one table (keyTableSize / 3)
};

inline constexpr KeyboardModel kModelA{'A', 0x0C45, 0x5004, 378, 378, 126};
inline constexpr KeyboardModel kModelB{'B', 0x320F, 0x5000, 512, 512, 128};
inline constexpr KeyboardModel kModels[] = {kModelA, kModelB};

// The model with these ids (low 16 bits count), or nullptr.
inline const KeyboardModel* FindModel(uint32_t vendorId, uint32_t productId) {
    for (const auto& m : kModels)
        if (m.vendorId == (vendorId & 0xFFFF) && m.productId == (productId & 0xFFFF)) return &m;
    return nullptr;
}

// Largest key table of any model: buffers sized by this hold either model's table.
inline constexpr int kMaxKeyTableSize = 512;

}  // namespace tarnel
