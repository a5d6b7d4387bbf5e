// Which interfaces are candidates for the keyboard.
#pragma once
#include <cstdint>
#include <string_view>

#include "devicelink/hid_caps.h"

namespace tarnel {

class HidBackend;
struct KeyboardModel;

inline constexpr uint16_t kCommandUsagePage = 0xFF1C;
inline constexpr uint16_t kCommandUsage = 0x92;
inline constexpr uint16_t kConsumerUsagePage = 0x000C;
inline constexpr uint16_t kConsumerControlUsage = 0x0001;

// Reads the hexadecimal numbers after "vid_" and "pid_" (any case) in the path text; a missing
// key reads as 0; only the low 16 bits of each number are kept.
void ParsePathIds(std::string_view path, uint16_t& vendorId, uint16_t& productId);

// The ids of a path: from the backend's enumeration when it has them, else from the path text.
void PathIds(HidBackend& backend, std::string_view path, uint16_t& vendorId, uint16_t& productId);

// The supported model the path names, or nullptr (the path is then no candidate).
const KeyboardModel* CandidateModel(HidBackend& backend, std::string_view path);

inline bool IsCommandCollection(const HidCollectionCaps& caps) {
    return caps.usagePage == kCommandUsagePage && caps.usage == kCommandUsage;
}
inline bool IsConsumerCollection(const HidCollectionCaps& caps) {
    return caps.usagePage == kConsumerUsagePage && caps.usage == kConsumerControlUsage;
}

}  // namespace tarnel
