// The decoding slots of an input report (`inputItems`): one per input button capability
// and one per input value (ranges expanded), filled by ParseInputReport.
//
// Report buffers follow the layout the caps describe: byte 0 is the report id (0 when the
// collection declares none), the fields start at byte 1 (`HidUsageCap::bitOffset` counts bits
// after that byte), and `reportByteLength` includes the id byte.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "devicelink/hid_caps.h"

namespace tarnel {

struct InputItem {
    bool isButton = false;
    uint16_t usagePage = 0;
    uint8_t reportId = 0;
    uint16_t usageMin = 0;  // a value slot's usage is usageMin (== usageMax)
    uint16_t usageMax = 0;
    // Button slot: the usages the last report showed active, followed by zeros when fewer than
    // the slot's capacity (its field count).
    std::vector<uint16_t> usages;
    // Value slot: the last raw and scaled value.
    int32_t rawValue = 0;
    int32_t scaledValue = 0;
    // Where the slot's fields sit in the report.
    HidUsageCap cap;
};

// Limits on what one collection builds: slots in all, and usage-list entries of all button slots.
inline constexpr size_t kMaxInputSlots = 4096;
inline constexpr size_t kMaxButtonUsages = 65536;

// One slot per button cap, one per value usage (a value range gives one slot per usage), within
// the limits above.
std::vector<InputItem> BuildInputItems(const HidCollectionCaps& caps);

// Fills every slot whose report id equals report[0]; the others keep their content. Fields that
// lie past `length` are not read.
void ParseInputReport(std::vector<InputItem>& items, const uint8_t* report, size_t length);

}  // namespace tarnel
