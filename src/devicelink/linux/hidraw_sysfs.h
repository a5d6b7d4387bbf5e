// What sysfs says about one hidraw node: its ids from the HID device's uevent, its report
// descriptor and an identity that tells a reused hidrawN number from the device that had it.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "devicelink/hid_caps.h"

namespace tarnel::hidraw {

// Largest report descriptor the kernel hands out.
inline constexpr size_t kMaxDescriptorSize = 4096;

struct NodeInfo {
    unsigned number = 0;  // N of hidrawN
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint64_t identity = 0;  // hash of the HID device's sysfs location and uevent
    std::vector<HidCollectionCaps> collections;
    bool usesReportIds = false;  // reports on the node start with their id byte
};

// Reads `<sysfsRoot>/hidraw<number>/device/{uevent,report_descriptor}`. Nullopt when the entry
// is gone, its uevent has no well-formed HID_ID, or its descriptor is missing or malformed.
std::optional<NodeInfo> ReadNode(const std::string& sysfsRoot, unsigned number);

// The numbers of the hidrawN entries under sysfsRoot, ascending. False when the folder exists
// but cannot be listed; a missing folder (no hidraw support loaded) is an empty list.
bool ListNodes(const std::string& sysfsRoot, std::vector<unsigned>& numbers);

// Parses "0003:00000C45:00005004" (bus:vendor:product, hexadecimal); the low 16 bits count.
bool ParseHidId(const std::string& value, uint16_t& vendorId, uint16_t& productId);

// The path of one collection: "<devRoot>/hidrawN#vid_xxxx&pid_xxxx&col_NN&id_<identity>", so the
// ids are in the text and a reused number gives another path.
std::string MakePath(const std::string& devRoot, const NodeInfo& node, size_t collection);
struct PathParts {
    unsigned number = 0;
    size_t collection = 0;
    uint64_t identity = 0;
};
bool ParsePath(const std::string& devRoot, const std::string& path, PathParts& parts);

}  // namespace tarnel::hidraw
